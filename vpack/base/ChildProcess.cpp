#include "vpack/base/ChildProcess.h"

namespace vpack {

std::string LastLine(const std::string& text) {
  size_t end = text.find_last_not_of(" \t\r\n");
  if (end == std::string::npos) return std::string();
  size_t start = text.find_last_of('\n', end);
  start = start == std::string::npos ? 0 : start + 1;
  return text.substr(start, end + 1 - start);
}

}  // namespace vpack
