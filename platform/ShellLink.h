#pragma once
// Shell link (".lnk") files, written byte by byte: the shell's link object
// looks the target's path up through every folder above it and needs the
// component library started, about 20 ms of a one-file installation under
// Wine. The link names its target by path alone, as its location.
#include <windows.h>

namespace platform {

// Writes a link at linkPath to target, started in workingFolder with the
// description and, when not null, the arguments (texts of the system's code
// page, each a path or shorter), whole as an installed file is. False, the
// reason in the last error, when it is not there.
bool SaveShellLink(const char* target, const char* linkPath, const char* description, const char* arguments,
                   const char* workingFolder);

}  // namespace platform
