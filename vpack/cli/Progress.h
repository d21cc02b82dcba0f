#pragma once
// A one-line progress report on a terminal, rewritten in place per file. It
// is silent when stderr is redirected, so that logs and callers that read
// stderr see nothing but real messages.
#include <stddef.h>

#include <string>

namespace vpack {

class Progress {
 public:
  Progress();
  // Clears the line, so that whatever comes next starts on a clean line.
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void Show(size_t index, size_t count, const std::string& name);

 private:
  bool enabled_;
  bool shown_ = false;
};

}  // namespace vpack
