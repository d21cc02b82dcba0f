#pragma once
// The shell's folder browser, as the options dialog and the plug-in flow ask
// for a folder: file-system folders only, with an edit box.
#include <stdint.h>
#include <windows.h>

namespace platform {

enum class Browsed : uint8_t { kChosen, kCancelled, kTooLong, kOutsideCodePage };

// The chosen folder in the ANSI form the stub works with, and as the system
// named it in wide (MAX_PATH characters), for the caller's report when it
// has no such form (the system's error then the last error).
Browsed BrowseForFolder(HWND owner, const wchar_t* title, char* folder, int size, wchar_t* wide);

}  // namespace platform
