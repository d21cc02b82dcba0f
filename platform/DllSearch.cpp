#include "platform/DllSearch.h"

namespace platform {
namespace {

// Both appeared with an update to Windows 7 and are part of every later
// Windows; looked up, so that an older system still starts the stub.
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using AddDllDirectoryFn = void*(WINAPI*)(const WCHAR*);

FARPROC Kernel32(const char* name) { return GetProcAddress(GetModuleHandleA("kernel32.dll"), name); }

bool g_restricted = false;

}  // namespace

void RestrictDllSearch() {
  // The current folder leaves the search on every Windows.
  SetDllDirectoryA("");
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(Kernel32("SetDefaultDllDirectories")));
  // The application's own folder (the downloads folder) leaves it too; what
  // the engine needs is added by its folder when it is loaded.
  if (setDefault != nullptr) {
    g_restricted = setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_USER_DIRS) != FALSE;
  }
}

HMODULE LoadEngineLibrary(const char* path, const char* folder) {
  if (!g_restricted) return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  auto addDirectory = reinterpret_cast<AddDllDirectoryFn>(reinterpret_cast<void*>(Kernel32("AddDllDirectory")));
  WCHAR wide[MAX_PATH];
  if (addDirectory != nullptr && MultiByteToWideChar(CP_ACP, 0, folder, -1, wide, MAX_PATH) != 0) {
    addDirectory(wide);
  }
  return LoadLibraryExA(path, nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

}  // namespace platform
