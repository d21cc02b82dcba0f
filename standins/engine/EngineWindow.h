#pragma once
// VDL_ENGINE_WINDOW: the engine keeps a window of its own with a timer from
// Initialise until its control object goes, as an engine that animates
// something might; every message the window is handed is logged, so a test
// sees whether the host runs the engine's windows while it installs.
#include <windows.h>

namespace standin {

HWND OpenEngineWindow();
void CloseEngineWindow(HWND window);

}  // namespace standin
