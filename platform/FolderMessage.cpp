#include "platform/FolderMessage.h"

#include "platform/Message.h"

namespace message {
namespace {

constexpr int kTextChars = 1024;

// Appends src (ASCII or UTF-16) while there is room; always terminated.
template <typename Char>
void AppendWide(wchar_t* text, const Char* src) {
  int length = lstrlenW(text);
  while (*src != 0 && length < kTextChars - 1) text[length++] = static_cast<wchar_t>(*src++);
  text[length] = 0;
}

}  // namespace

int ShowAbout(const char* intro, const wchar_t* name, DWORD error, const char* after, const wchar_t* caption,
              uint32_t type) {
  wchar_t text[kTextChars];
  text[0] = 0;
  AppendWide(text, intro);
  if (name != nullptr) {
    AppendWide(text, "\n");
    AppendWide(text, name);
  }
  if (error != 0) {
    AppendWide(text, "\n\n");
    int length = lstrlenW(text);
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text + length,
                   kTextChars - length, nullptr);
  }
  if (after != nullptr) {
    AppendWide(text, "\n\n");
    AppendWide(text, after);
  }
  return ShowWide(text, caption, type);
}

}  // namespace message
