#pragma once
// A progress bar on a terminal for the long commands (pack, verify,
// extract): bytes done of the total, the rate, and the item at hand,
// rewritten in place on stderr. It is silent when stderr is not a terminal,
// so that logs and callers that read stderr see nothing but real messages,
// and when the user asked for quiet or JSON. Debian packages no C++
// progress-bar library (indicators and its kind are not there), and one
// line of ANSI text is all this needs.
#include <stdint.h>

#include <chrono>
#include <string>

namespace vpack {

class Progress {
 public:
  // verb: "packing", "verifying", "extracting"; wanted: false for --quiet
  // and --json.
  Progress(const char* verb, uint64_t total, bool wanted);
  // Clears the line, so that whatever comes next starts on a clean line.
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // done bytes of the total so far, now at name (UTF-8).
  void Update(uint64_t done, const std::string& name);

 private:
  const char* verb_;
  uint64_t total_;
  bool enabled_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_;
};

}  // namespace vpack
