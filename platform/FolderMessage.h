#pragma once
// Errors about a folder the system named: the folder is shown as the system
// names it, in UTF-16, since the user's own name may be part of it and the
// ANSI code page may not hold that name.
#include <windows.h>

namespace message {

// intro, the folder on a line of its own (none for null), then the system's
// words for error (none for 0); caption "Error".
void ReportFolderError(const char* intro, const wchar_t* folder, DWORD error);
inline void ReportSystemError(const char* intro, DWORD error) { ReportFolderError(intro, nullptr, error); }

}  // namespace message
