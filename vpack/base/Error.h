#pragma once
// vpack reports every failure as one line; commands throw these and main
// prints them, so that no command writes to stderr on its own.
#include <stdexcept>
#include <string>

namespace vpack {

// A failure of the task itself: exit status 1.
struct Error : std::runtime_error {
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A command line that cannot be understood: exit status 2 and the usage.
struct UsageError : std::runtime_error {
  explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// Quotes a name for a message the way every vpack message does.
inline std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace vpack
