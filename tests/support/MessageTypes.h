#pragma once
// The type (buttons and icon) and the caption that each message of the stub
// is documented with (DocumentedMessages.h), checked for every box a test
// meets, whether recorded in-process or read from a running program's screen.
#include <stdint.h>

#include <string>
#include <vector>

namespace testing_support {

// The type a message with this text must have; false when the text is not
// one of the stub's documented messages.
bool ExpectedMessageType(const std::string& text, uint32_t* type);

// An installer's texts in another language, by text number, in UTF-8 as a
// box's text is read (empty where the English stands); a box in those words, and a
// caption in them, is judged as the English one. Empty to forget them.
void AcceptTranslations(const std::vector<std::string>& texts);

// Fails the running test when a box's type or caption is not the one its
// text is documented with.
void CheckMessageType(const std::string& text, const std::string& caption, uint32_t type);

}  // namespace testing_support
