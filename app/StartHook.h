#pragma once
// A build of the stub for tests may run code of its own before the stub does
// anything (the fault seam: tests/seam); it defines VDL_START_HOOK and links
// the definition. The release stubs run none and hold not even the call.
#include <windows.h>

namespace app {

#ifdef VDL_START_HOOK
void StartHook(HINSTANCE instance);
#else
inline void StartHook(HINSTANCE) {}
#endif

}  // namespace app
