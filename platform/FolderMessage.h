#pragma once
// Errors about a folder or file the system named: the name is shown as the
// system names it, in UTF-16, since the user's own name may be part of it and
// the ANSI code page may not hold that name; then the system's own words for
// what went wrong.
#include <windows.h>

#include "platform/Message.h"

namespace message {

// intro, the name on a line of its own (none for null), then the system's
// words for error (none for 0), then after (none for null), in a box of the
// type and caption given; the answer.
int ShowAbout(const char* intro, const wchar_t* name, DWORD error, const char* after, const wchar_t* caption,
              uint32_t type);
// The same with an error icon and no question.
inline void ReportError(const char* intro, const wchar_t* name, DWORD error, const wchar_t* caption) {
  ShowAbout(intro, name, error, nullptr, caption, kOk | kIconError);
}
inline void ReportFolderError(const char* intro, const wchar_t* folder, DWORD error) {
  ReportError(intro, folder, error, L"Error");
}
inline void ReportSystemError(const char* intro, DWORD error) { ReportFolderError(intro, nullptr, error); }

}  // namespace message
