#pragma once
// Where the stub lets the system look for DLLs. An installer is started from
// a downloads folder full of other people's files; any DLL there with the
// name of one the process loads (at start, or late, as system libraries do
// for visual styles, shell dialogs and COM servers) would otherwise run with
// the installer's rights.
#include <windows.h>

namespace platform {

// From here on, DLLs named without a path come from the system folder (and
// folders added for the engine) only; the current folder is out in any case.
// Must run before anything loads a DLL by name.
void RestrictDllSearch();

// The engine DLL by its full path; the DLLs it needs and the modules it
// loads by name come from its own folder and the system folder.
HMODULE LoadEngineLibrary(const char* path, const char* folder);

}  // namespace platform
