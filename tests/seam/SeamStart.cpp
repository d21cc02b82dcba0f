#include "app/StartHook.h"
#include "tests/seam/FaultSeam.h"

// The test variant's start: its imports go through the seam before the stub
// makes its first call.
void app::StartHook(HINSTANCE instance) { faults::InstallSeam(instance); }
