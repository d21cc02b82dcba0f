#include "tests/support/MessageTypes.h"

#include <gtest/gtest.h>
#include <string.h>

#include "payload/Messages.h"

namespace testing_support {
namespace {

// The first of two boxes of a failed screen-saver copy: the error number.
bool IsNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// Whether text is the message shape shows, in English: the text alone, or
// the text followed by what the message is about. A placeholder's number
// may be anything, so the text is compared up to its first one.
bool Shows(const messages::Shape& shape, const std::string& text) {
  std::string english = texts::English(shape.text);
  size_t placeholder = english.find('%');
  if (placeholder != std::string::npos) return text.compare(0, placeholder, english, 0, placeholder) == 0;
  if (shape.form == messages::Form::kAlone) return text == english;
  return text.compare(0, english.size(), english) == 0;
}

}  // namespace

bool ExpectedMessageType(const std::string& text, uint32_t* type) {
  if (IsNumber(text)) {
    *type = message::kOk;
    return true;
  }
  for (int i = 1; i < static_cast<int>(messages::Id::kCount); ++i) {
    const messages::Shape& shape = messages::kShapes[i];
    if (Shows(shape, text)) {
      *type = shape.type;
      return true;
    }
  }
  return false;
}

void CheckMessageType(const std::string& text, const std::string& caption, uint32_t type) {
  uint32_t expected = 0;
  if (!ExpectedMessageType(text, &expected)) {
    ADD_FAILURE() << "a message box the stub has no business showing: [" << caption << "] " << text;
  } else if (type != expected) {
    ADD_FAILURE() << "message box [" << caption << "] " << text << "\nhas type 0x" << std::hex << type
                  << " instead of 0x" << expected;
  }
}

}  // namespace testing_support
