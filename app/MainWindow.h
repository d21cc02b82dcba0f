#pragma once
#include <windows.h>

#include "payload/WindowNames.h"

namespace app {

// The hidden 25 by 25 window: never shown and given no message loop; it is the
// owner of the progress window and of the shell calls, and the engine is told
// its class name.
extern char g_windowTitle[];
extern char g_windowClass[];
extern HWND g_mainWindow;

constexpr const char* kWindowClassName = names::kMainWindowClass;

void RegisterMainWindowClass(HINSTANCE instance);
// Leaves g_mainWindow null when the window cannot be made; the run goes on.
void CreateMainWindow(HINSTANCE instance);

}  // namespace app
