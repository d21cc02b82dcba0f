// A DLL that a stranger leaves in a downloads folder under the name of a
// system library: when anything loads it, it says so in the file that
// VDL_PLANTED_LOG names.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char log[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("VDL_PLANTED_LOG", log, sizeof(log));
  if (length == 0 || length >= sizeof(log)) return TRUE;
  char line[MAX_PATH + 16] = "planted ";
  GetModuleFileNameA(module, line + 8, MAX_PATH);
  lstrcatA(line, "\n");
  HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, line, lstrlenA(line), &written, nullptr);
    CloseHandle(file);
  }
  return TRUE;
}
