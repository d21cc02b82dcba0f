#include "platform/AnsiFolder.h"

namespace platform {

namespace {

// More than any path the installer can use: a short name is never longer
// than the name it stands for.
constexpr DWORD kShortChars = 512;

}  // namespace

bool ConvertExactly(const wchar_t* wide, char* ansi, int size) {
  BOOL lossy = FALSE;
  // A UTF-8 code page holds everything, and takes neither argument.
  bool utf8 = GetACP() == CP_UTF8;
  return WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, -1, ansi, size, nullptr,
                             utf8 ? nullptr : &lossy) != 0 &&
         !lossy;
}

bool AnsiFolder(const wchar_t* folder, char* ansi, int size) {
  if (ConvertExactly(folder, ansi, size)) return true;
  wchar_t shortName[kShortChars];
  DWORD length = GetShortPathNameW(folder, shortName, kShortChars);
  DWORD error = length == 0 ? GetLastError() : 0;
  if (length > 0 && length < kShortChars && ConvertExactly(shortName, ansi, size)) return true;
  SetLastError(error);
  return false;
}

}  // namespace platform
