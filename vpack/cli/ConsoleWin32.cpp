#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "vpack/base/SystemPath.h"
#include "vpack/cli/Console.h"

namespace vpack {

std::vector<std::string> Utf8Arguments(int, char**) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; wide != nullptr && i < count; ++i) arguments.push_back(TextOf(std::filesystem::path(wide[i])));
  LocalFree(wide);
  return arguments;
}

}  // namespace vpack
