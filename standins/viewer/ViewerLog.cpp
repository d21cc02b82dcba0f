#include "standins/viewer/ViewerLog.h"

#include <windows.h>

namespace viewer {

std::string Variable(const char* name) {
  char value[4096];
  DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
  return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

void LogLine(const std::string& line) {
  std::string path = Variable("VDL_VIEWER_LOG");
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

}  // namespace viewer
