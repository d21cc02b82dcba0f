#include "tests/support/Logs.h"

#include <windows.h>

#include <algorithm>

#include "tests/support/TempDir.h"

namespace testing_support {
namespace {

constexpr DWORD kPollMs = 50;

bool StartsWith(const std::string& line, const std::string& prefix) { return line.compare(0, prefix.size(), prefix) == 0; }

// The first line with the prefix, polled until timeoutMs.
bool WaitFor(const std::string& path, const std::string& prefix, bool whole, unsigned timeoutMs, std::string* found) {
  DWORD start = GetTickCount();
  for (;;) {
    for (const std::string& line : LogLines(path)) {
      if (whole ? line == prefix : StartsWith(line, prefix)) {
        *found = line;
        return true;
      }
    }
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollMs);
  }
}

}  // namespace

std::vector<std::string> LogLines(const std::string& path) {
  std::vector<std::string> lines;
  std::string text = ReadFileBytes(path);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    // A line still being written is not a line yet.
    if (end == std::string::npos) break;
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

bool HasLine(const std::string& path, const std::string& line) {
  std::vector<std::string> lines = LogLines(path);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool WaitForLine(const std::string& path, const std::string& line, unsigned timeoutMs) {
  std::string found;
  return WaitFor(path, line, true, timeoutMs, &found);
}

std::string WaitForLineStartingWith(const std::string& path, const std::string& prefix, unsigned timeoutMs) {
  std::string found;
  return WaitFor(path, prefix, false, timeoutMs, &found) ? found.substr(prefix.size()) : std::string();
}

EngineLog::EngineLog(const std::string& folder)
    : path_(folder + "\\engine.log"), variable_("VDL_ENGINE_LOG", path_.c_str()) {}

std::vector<std::string> EngineLog::LinesStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& line : Lines()) {
    if (StartsWith(line, prefix)) found.push_back(line);
  }
  return found;
}

}  // namespace testing_support
