#pragma once
// Shell link (".lnk") files through the shell's link object.
#include <windows.h>

namespace platform {

// Saves a link at linkPath (a path of the system's code page) to target,
// started in workingFolder, with the description and, when not null, the
// arguments. Saved beside the link's name and then put in its place, so
// that an earlier link is replaced only by a whole one and a save that
// fails half way leaves nothing. Returns the save's result, or the failure
// of making the link object, reaching its file interface or putting the
// file in place.
HRESULT SaveShellLink(const char* target, const char* linkPath, const char* description, const char* arguments,
                      const char* workingFolder);

}  // namespace platform
