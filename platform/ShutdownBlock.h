#pragma once
// While an installation writes its files, the session is asked not to end:
// ended in the middle, it would leave a file half written, perhaps over an
// older one that worked. The windows that the system asks answer no while the
// block lasts.
#include <windows.h>

namespace platform {

void BlockShutdown();
// Ends it; nothing when there is none.
void AllowShutdown();
// A window's answer to WM_QUERYENDSESSION, given on the window's own thread:
// no while the block lasts, with the reason the system shows beside the
// window; yes otherwise, the reason withdrawn.
BOOL AnswerEndSession(HWND window);

}  // namespace platform
