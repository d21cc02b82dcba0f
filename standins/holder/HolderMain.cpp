// Holds a file as another program would, until the test lets it go: "image"
// maps it as a program image, as a running player holds its plug-in or a
// running viewer its program file; "open" opens it without delete sharing,
// as a virus scanner reading it does. It writes FILE.held once it holds the
// file, and lets go when that marker is removed or after MS milliseconds.
// A 32-bit file needs the 32-bit holder: each machine's build has one.
//   VdlHolder.exe image|open FILE MS
#include <windows.h>

#include <stdlib.h>
#include <wchar.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  bool image = wcscmp(argv[1], L"image") == 0;
  DWORD limit = static_cast<DWORD>(wcstoul(argv[3], nullptr, 10));
  HMODULE module = nullptr;
  HANDLE file = INVALID_HANDLE_VALUE;
  if (image) {
    module = LoadLibraryExW(argv[2], nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (module == nullptr) return 1;
  } else {
    file = CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
  }
  std::wstring marker = std::wstring(argv[2]) + L".held";
  HANDLE made = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (made == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(made);
  for (DWORD waited = 0; waited < limit && GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; waited += 20) {
    Sleep(20);
  }
  if (module != nullptr) FreeLibrary(module);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  DeleteFileW(marker.c_str());
  return 0;
}
