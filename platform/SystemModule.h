#pragma once
// System DLLs loaded by their full path in the system folder, so that a DLL
// of the same name beside the installer (a downloads folder) is never loaded
// in their place.
#include "platform/ScopedHandle.h"

namespace platform {

// Null when the name does not fit a path or the module cannot be loaded.
ScopedModule LoadSystemModule(const char* name);

}  // namespace platform
