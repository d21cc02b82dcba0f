#pragma once
// A window made, and answered, on a thread of its own. A run without a window
// on the screen has no message loop: between its steps it answers the system
// only now and then, and not at all while one step takes long. And under Wine
// the first top-level window of a thread costs tens of milliseconds of
// set-up, which the run need not wait for before its first file.
#include <windows.h>

namespace platform {

using WindowMaker = HWND (*)(HINSTANCE);

// Starts the thread, which makes the window with `make` and then answers its
// messages until the process ends. False when no thread could be started:
// the caller makes the window itself.
bool StartWindowThread(WindowMaker make, HINSTANCE instance);
// The window that thread made, waited for; null when it could not be made
// or no thread was started.
HWND WindowFromThread();

}  // namespace platform
