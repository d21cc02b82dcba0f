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

std::vector<std::string> g_translations;

// Whether text is the message shape shows in words: the text alone, or the
// text followed by what the message is about. A placeholder's number may be
// anything, so the text is compared up to its first one.
bool ShowsIn(const std::string& words, messages::Form form, const std::string& text) {
  size_t placeholder = words.find('%');
  if (placeholder != std::string::npos) return text.compare(0, placeholder, words, 0, placeholder) == 0;
  if (form == messages::Form::kAlone) return text == words;
  return text.compare(0, words.size(), words) == 0;
}

bool Shows(const messages::Shape& shape, const std::string& text) {
  size_t id = static_cast<size_t>(shape.text);
  if (id < g_translations.size() && !g_translations[id].empty() && ShowsIn(g_translations[id], shape.form, text)) {
    return true;
  }
  return ShowsIn(texts::English(shape.text), shape.form, text);
}

}  // namespace

void AcceptTranslations(const std::vector<std::string>& texts) { g_translations = texts; }

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
