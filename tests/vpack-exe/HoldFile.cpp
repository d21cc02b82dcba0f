// Holds a file open without delete sharing, as a program showing it might,
// until the marker FILE.held it writes once the file is open is removed
// (a minute at most).
//   hold_file.exe FILE
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  HANDLE held = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (held == INVALID_HANDLE_VALUE) return 1;
  std::wstring marker = std::wstring(argv[1]) + L".held";
  HANDLE made = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (made == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(made);
  for (int waited = 0; waited < 60000 && GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; waited += 50) {
    Sleep(50);
  }
  CloseHandle(held);
  return 0;
}
