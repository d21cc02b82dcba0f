#include "tests/support/SeamLog.h"

#include "tests/support/Logs.h"

namespace testing_support {

SeamLog ReadSeamLog(const std::string& path) {
  SeamLog log;
  for (const std::string& line : LogLines(path)) {
    if (line == "exit") {
      log.exited = true;
      continue;
    }
    size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    std::string rest = line.substr(space + 1);
    size_t mark = rest.find(' ');
    std::string name = rest.substr(0, mark);
    if (mark != std::string::npos && rest.substr(mark + 1) == "failed") log.failed = name;
    if (mark != std::string::npos && rest.substr(mark + 1) == "held") log.held = true;
    log.calls.push_back(name);
  }
  return log;
}

}  // namespace testing_support
