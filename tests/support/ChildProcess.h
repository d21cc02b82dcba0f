#pragma once
// A program run to its end in a process of its own, with what it wrote to
// its standard output; its errors go where the test's own go. One interface,
// one implementation per system: a shell command line on the host, a
// Windows command line under Wine.
#include <string>

namespace testing_support {

struct ChildOutcome {
  // The exit code; -1 when the program did not start or end on its own.
  int status;
  // Line ends as "\n" alone.
  std::string out;
};

ChildOutcome RunCapturing(const std::string& commandLine);

}  // namespace testing_support
