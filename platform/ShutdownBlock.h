#pragma once
// While an installation writes its files, the session is asked not to end:
// ended in the middle, it would leave a file half written, perhaps over an
// older one that worked. The windows that the system asks answer no while the
// block lasts.
#include <windows.h>

namespace platform {

// Starts the block. A window of the calling thread is given the reason the
// system shows beside it at once; a window of another thread gives it as it
// answers (only a window's own thread may).
void BlockShutdown(HWND window);
// Ends it, and takes back the reason given at its start; nothing when there
// is none.
void AllowShutdown();
// A window's answer to WM_QUERYENDSESSION, given on the window's own thread:
// no while the block lasts, with the reason; yes otherwise, the reason
// withdrawn.
BOOL AnswerEndSession(HWND window);

}  // namespace platform
