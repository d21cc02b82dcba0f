#pragma once
// Shell link (".lnk") files through the shell's link object.
#include <windows.h>

namespace platform {

// Saves a link at linkPath to target, started in workingFolder, with the
// description and, when not null, the arguments, written whole as an
// installed file is. Returns the save's result, or the failure of making the
// link object, reaching its stream interface or writing its file.
HRESULT SaveShellLink(const char* target, const char* linkPath, const char* description, const char* arguments,
                      const char* workingFolder);

}  // namespace platform
