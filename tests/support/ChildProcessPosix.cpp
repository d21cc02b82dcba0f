#include <stdio.h>
#include <sys/wait.h>

#include "tests/support/ChildProcess.h"

namespace testing_support {

ChildOutcome RunCapturing(const std::string& commandLine) {
  ChildOutcome outcome = {-1, ""};
  FILE* pipe = popen(commandLine.c_str(), "r");
  if (pipe == nullptr) return outcome;
  char buffer[4096];
  for (size_t got; (got = fread(buffer, 1, sizeof(buffer), pipe)) > 0;) outcome.out.append(buffer, got);
  int status = pclose(pipe);
  if (status != -1 && WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
  return outcome;
}

}  // namespace testing_support
