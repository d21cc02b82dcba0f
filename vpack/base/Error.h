#pragma once
// vpack reports every failure as one line; commands throw these and main
// prints them, so that no command writes to stderr on its own.
#include <stdint.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace vpack {

// A failure of the task itself: exit status 1.
struct Error : std::runtime_error {
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A command line that cannot be understood: exit status 2 and the usage.
struct UsageError : std::runtime_error {
  explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// Every problem a step found, one to a line, so that a run reports all of
// them at once (main prints each line as an error); nothing when none.
inline void ThrowIfAny(const std::vector<std::string>& problems) {
  if (problems.empty()) return;
  std::string joined;
  for (const std::string& line : problems) joined += (joined.empty() ? "" : "\n") + line;
  throw Error(joined);
}

// Where in a file a message points, "file:line:column" as compilers write
// it, so that an editor or a terminal can take the publisher there.
inline std::string SourcePlace(const std::string& file, uint32_t line, uint32_t column) {
  return file + ":" + std::to_string(line) + ":" + std::to_string(column);
}

// Quotes a name for a message the way every vpack message does.
inline std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace vpack
