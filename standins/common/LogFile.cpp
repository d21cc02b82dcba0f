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

namespace {

// A reader or another writer may hold the file for a moment; a line is
// worth waiting for, as a test that misses it fails for no fault of its own.
constexpr DWORD kRetryMs = 10;
constexpr int kAttempts = 1000;

HANDLE OpenForAppending(const std::string& path) {
  for (int attempt = 0;; ++attempt) {
    // Opened per line, shared, so that lines of other writers interleave whole.
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || attempt + 1 >= kAttempts) return file;
    Sleep(kRetryMs);
  }
}

}  // namespace

void AppendLine(const char* variable, const std::string& line) {
  std::string path = Variable(variable);
  if (path.empty()) return;
  HANDLE file = OpenForAppending(path);
  if (file == INVALID_HANDLE_VALUE) {
    // Said where a test's output shows it, rather than lost without a word.
    OutputDebugStringA(("log line lost: " + path + ": " + line + "\n").c_str());
    return;
  }
  std::string text = line + "\n";
  size_t done = 0;
  DWORD written = 0;
  while (done < text.size() &&
         WriteFile(file, text.data() + done, static_cast<DWORD>(text.size() - done), &written, nullptr) && written > 0) {
    done += written;
  }
  CloseHandle(file);
}

}  // namespace standin_log
