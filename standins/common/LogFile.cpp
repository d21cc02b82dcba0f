#include "standins/common/LogFile.h"

#include <windows.h>

namespace standin_log {

std::string Variable(const char* name) {
  DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
  if (needed == 0) return std::string();
  std::string value(needed, '\0');
  DWORD got = GetEnvironmentVariableA(name, &value[0], needed);
  // The variable may change between the two calls; a value that no longer
  // fits counts as unset rather than being read half.
  if (got == 0 || got >= needed) return std::string();
  value.resize(got);
  return value;
}

void AppendLine(const char* variable, const std::string& line) {
  std::string path = Variable(variable);
  if (path.empty()) return;
  // Opened per line, shared, so that lines of other writers interleave whole.
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace standin_log
