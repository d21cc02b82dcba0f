#pragma once
// Shell link (".lnk") files, written byte by byte: the shell's link object
// would parse the target's path through every folder above it and start
// the component library, which cost more than the rest of the links'
// installation under Wine.
#include <windows.h>

namespace platform {

// Writes a link at linkPath to target, started in workingFolder with the
// description and, when not null, the arguments (texts of the system's code
// page, each a path or shorter), whole as an installed file is. False, the
// reason in the last error, when it is not there.
bool SaveShellLink(const char* target, const char* linkPath, const char* description, const char* arguments,
                   const char* workingFolder);

}  // namespace platform
