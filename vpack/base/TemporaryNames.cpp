#include "vpack/base/TemporaryNames.h"

#include <filesystem>

#include "vpack/base/Processes.h"
#include "vpack/base/SystemPath.h"

namespace vpack {
namespace {

constexpr char kInfix[] = ".vpack-";

// The pid in "PID-N" or "PID-N-signed"; 0 when the rest is not of that form.
int WriterOf(const std::string& rest) {
  size_t dash = rest.find('-');
  if (dash == 0 || dash == std::string::npos || rest.find_first_not_of("0123456789") != dash) return 0;
  std::string attempt = rest.substr(dash + 1);
  size_t digits = attempt.find_first_not_of("0123456789");
  if (digits == 0 || (digits != std::string::npos && attempt.substr(digits) != "-signed")) return 0;
  return dash > 9 ? 0 : static_cast<int>(std::stol(rest.substr(0, dash)));
}

}  // namespace

std::string TemporaryName(const std::string& target, int pid, int attempt) {
  return target + kInfix + std::to_string(pid) + "-" + std::to_string(attempt);
}

size_t RemoveStaleTemporaries(const std::string& target) {
  std::filesystem::path path = PathOf(target);
  std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
  std::string prefix = TextOf(path.filename()) + kInfix;
  size_t removed = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::string name = TextOf(entry.path().filename());
    if (name.rfind(prefix, 0) != 0 || !entry.is_regular_file(error)) continue;
    int writer = WriterOf(name.substr(prefix.size()));
    std::string file = TextOf(entry.path());
    double written = FileWrittenAt(file);
    if (writer <= 0 || writer == CurrentProcessId() || written < 0) continue;
    double started = ProcessStartedAt(writer);
    // A second of slack: the file times and the tick count are not exact.
    bool stale = started < 0 || started > written + 1;
    if (stale && RemoveFile(file)) ++removed;
  }
  return removed;
}

}  // namespace vpack
