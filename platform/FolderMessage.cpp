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

void ReportError(const char* intro, const wchar_t* name, DWORD error, const wchar_t* caption) {
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
  ShowWide(text, caption, kOk | kIconError);
}

}  // namespace message
