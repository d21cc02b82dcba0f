#pragma once
// While an installation writes its files, the session is asked not to end:
// ended in the middle, it would leave a file half written, perhaps over an
// older one that worked. The windows that the system asks answer no while the
// block lasts.
#include <windows.h>

namespace platform {

// Starts the block, with the reason the system shows beside the window.
void BlockShutdown(HWND window);
// Ends it; nothing when there is none.
void AllowShutdown();
bool ShutdownBlocked();

}  // namespace platform
