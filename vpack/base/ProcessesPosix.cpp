#include <errno.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "vpack/base/Processes.h"

namespace vpack {

int CurrentProcessId() { return static_cast<int>(getpid()); }

std::string HostName() {
  char name[256] = {};
  return gethostname(name, sizeof(name) - 1) == 0 ? std::string(name) : std::string();
}

// /proc/PID/stat gives the start in clock ticks after boot; /proc/stat the boot.
double ProcessStartedAt(int pid) {
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

double FileWrittenAt(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_mtime) : -1;
}

std::string OwnProgram() {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.string();
}

std::optional<std::string> EnvironmentVariable(const std::string& name) {
  const char* value = getenv(name.c_str());
  return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace vpack
