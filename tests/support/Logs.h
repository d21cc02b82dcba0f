#pragma once
// The logs the stand-ins write, one fact a line, read while they are written.
#include <string>
#include <vector>

#include "tests/support/Environment.h"

namespace testing_support {

// The lines of a log without their line ends; none when there is no file.
std::vector<std::string> LogLines(const std::string& path);

// Whether the log holds the line now.
bool HasLine(const std::string& path, const std::string& line);

// Waits until the log holds the line; false after timeoutMs.
bool WaitForLine(const std::string& path, const std::string& line, unsigned timeoutMs);

// Waits for a line that begins with prefix; the rest of that line, or ""
// when there is none after timeoutMs.
std::string WaitForLineStartingWith(const std::string& path, const std::string& prefix, unsigned timeoutMs);

// The engine's call log: pointed at a file in folder while the object lives.
class EngineLog {
 public:
  explicit EngineLog(const std::string& folder);
  EngineLog(const EngineLog&) = delete;
  EngineLog& operator=(const EngineLog&) = delete;

  std::vector<std::string> Lines() const { return LogLines(path_); }
  // Lines that begin with prefix.
  std::vector<std::string> LinesStartingWith(const std::string& prefix) const;

 private:
  std::string path_;
  ScopedEnvironment variable_;
};

}  // namespace testing_support
