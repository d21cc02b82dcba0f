#pragma once
// The shell's folder browser, as the options dialog and the plug-in flow ask
// for a folder: file-system folders only, with an edit box.
#include <windows.h>

namespace platform {

// The chosen folder in the ANSI form the stub works with. False when the
// user cancels (the last error then ERROR_CANCELLED) or the folder cannot be
// named in that form (a message then names it).
bool BrowseForFolder(HWND owner, const char* title, char* folder, int size);

}  // namespace platform
