#include "vpack/base/TemporaryNames.h"

#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vpack {
namespace {

constexpr char kInfix[] = ".vpack-";

// The pid in "PID-N" or "PID-N-signed"; 0 when the rest is not of that form.
pid_t WriterOf(const std::string& rest) {
  size_t dash = rest.find('-');
  if (dash == 0 || dash == std::string::npos || rest.find_first_not_of("0123456789") != dash) return 0;
  std::string attempt = rest.substr(dash + 1);
  size_t digits = attempt.find_first_not_of("0123456789");
  if (digits == 0 || (digits != std::string::npos && attempt.substr(digits) != "-signed")) return 0;
  return dash > 9 ? 0 : static_cast<pid_t>(std::stol(rest.substr(0, dash)));
}

// When a process started, in seconds since the epoch; -1 when there is none.
// /proc/PID/stat gives it in clock ticks after boot; /proc/stat the boot.
double StartedAt(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return kill(pid, 0) == 0 || errno == EPERM ? 0 : -1;
  size_t at = line.rfind(')');
  std::istringstream fields(line.substr(at == std::string::npos ? 0 : at + 2));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
  }
  std::ifstream system("/proc/stat");
  double boot = 0;
  for (std::string key; system >> key;) {
    if (key == "btime") {
      system >> boot;
      break;
    }
  }
  return boot + std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace

std::string TemporaryName(const std::string& target, pid_t pid, int attempt) {
  return target + kInfix + std::to_string(pid) + "-" + std::to_string(attempt);
}

size_t RemoveStaleTemporaries(const std::string& target) {
  std::filesystem::path path(target);
  std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
  std::string prefix = path.filename().string() + kInfix;
  size_t removed = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) != 0 || !entry.is_regular_file(error)) continue;
    pid_t writer = WriterOf(name.substr(prefix.size()));
    struct stat info;
    if (writer <= 0 || writer == getpid() || lstat(entry.path().c_str(), &info) != 0) continue;
    double started = StartedAt(writer);
    // A second of slack: the file times and the tick count are not exact.
    bool stale = started < 0 || started > static_cast<double>(info.st_mtime) + 1;
    if (stale && unlink(entry.path().c_str()) == 0) ++removed;
  }
  return removed;
}

}  // namespace vpack
