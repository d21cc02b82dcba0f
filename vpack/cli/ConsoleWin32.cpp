#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "vpack/base/SystemPath.h"
#include "vpack/cli/Console.h"

namespace vpack {
namespace {

UINT consoleCodePage;

void RestoreConsole() { SetConsoleOutputCP(consoleCodePage); }

}  // namespace

std::vector<std::string> Utf8Arguments(int, char**) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  // vpack prints UTF-8: a console shows it as such only in its code page,
  // which the user's console gets back when vpack ends.
  consoleCodePage = GetConsoleOutputCP();
  if (consoleCodePage != 0 && consoleCodePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) atexit(RestoreConsole);
  // The progress bar rewrites its line with ANSI sequences, which a console
  // of Windows 10 and later follows when asked to.
  DWORD mode = 0;
  HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
  if (GetConsoleMode(errors, &mode)) SetConsoleMode(errors, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; wide != nullptr && i < count; ++i) arguments.push_back(TextOf(std::filesystem::path(wide[i])));
  LocalFree(wide);
  return arguments;
}

}  // namespace vpack
