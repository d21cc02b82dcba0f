#pragma once
// The type (buttons and icon) that each message of the stub is shown with,
// checked for every box a test meets, whether recorded in-process or read
// from a running program's screen.
#include <stdint.h>

#include <string>

namespace testing_support {

// The type a message with this text must have; false when the text is not
// one of the stub's messages.
bool ExpectedMessageType(const std::string& text, uint32_t* type);

// Fails the running test when a box's type is not the one its text needs.
void CheckMessageType(const std::string& text, const std::string& caption, uint32_t type);

}  // namespace testing_support
