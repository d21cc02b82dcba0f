#pragma once
// The log of the stub's test variant (tests/seam/FaultSeam.h): its calls by
// number, and how the run ended.
#include <string>
#include <vector>

namespace testing_support {

// The seam's calls in a run, by number from 1: each one's function name.
struct SeamLog {
  std::vector<std::string> calls;
  std::string failed;  // the function that failed, or empty
  bool exited = false;  // the run ended through ExitProcess, not a crash
  bool held = false;    // the stub reached the call it was to wait at
};
SeamLog ReadSeamLog(const std::string& path);

}  // namespace testing_support
