#pragma once
#include <windows.h>

#include "payload/WindowNames.h"

namespace app {

// The hidden 25 by 25 window: never shown; it is the owner of the progress
// window and of the shell calls, and the engine is told its class name. It
// has no message loop of its own, unless a silent run makes it on a thread
// of its own; the shell calls then have no owner, as nothing is shown.
extern char g_windowTitle[];
extern char g_windowClass[];
extern HWND g_mainWindow;

constexpr const char* kWindowClassName = names::kMainWindowClass;

// Registers the class and makes the window. Null, and g_mainWindow null, when
// the window cannot be made; the run goes on.
HWND MakeMainWindow(HINSTANCE instance);

}  // namespace app
