#include "vpack/base/TemporaryNames.h"

#include <time.h>

#include <filesystem>

#include "vpack/base/Processes.h"
#include "vpack/base/SystemPath.h"

namespace vpack {
namespace {

constexpr char kInfix[] = ".vpack-";
// Longer than any pack or signing keeps a file unwritten.
constexpr double kOtherMachineStale = 24 * 3600;

bool Digits(const std::string& text) { return !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos; }

// "HOST-PID-N" or "HOST-PID-N-signed"; false when the rest is not of that
// form. The names of the first kit, "PID-N", were this machine's.
bool WriterOf(const std::string& rest, std::string* host, int* pid) {
  std::string form = rest.size() > 7 && rest.compare(rest.size() - 7, 7, "-signed") == 0 ? rest.substr(0, rest.size() - 7) : rest;
  size_t second = form.rfind('-');
  if (second == std::string::npos || second == 0) return false;
  size_t first = form.rfind('-', second - 1);
  size_t idStart = first == std::string::npos ? 0 : first + 1;
  *host = first == std::string::npos ? HostTag() : form.substr(0, first);
  std::string id = form.substr(idStart, second - idStart);
  if (!Digits(id) || !Digits(form.substr(second + 1)) || host->empty() ||
      host->find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_") !=
          std::string::npos) {
    return false;
  }
  *pid = std::stoi(id);
  return *pid > 0;
}

bool Stale(const std::string& host, int pid, double written, double now) {
  if (host != HostTag()) return written + kOtherMachineStale < now;
  if (pid == CurrentProcessId()) return false;
  double started = ProcessStartedAt(pid);
  // A second of slack: the file times and the tick count are not exact.
  return started < 0 || started > written + 1;
}

}  // namespace

std::string HostTag() {
  std::string tag = HostName().substr(0, 63);
  for (char& c : tag) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!plain) c = '_';
  }
  return tag.empty() ? "_" : tag;
}

std::string TemporaryName(const std::string& target, const std::string& host, int pid, int attempt) {
  return target + kInfix + host + "-" + std::to_string(pid) + "-" + std::to_string(attempt);
}

size_t RemoveStaleTemporaries(const std::string& target) {
  std::filesystem::path path = PathOf(target);
  std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
  std::string prefix = TextOf(path.filename()) + kInfix;
  double now = static_cast<double>(time(nullptr));
  size_t removed = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::string name = TextOf(entry.path().filename());
    if (name.rfind(prefix, 0) != 0 || !entry.is_regular_file(error)) continue;
    std::string host;
    int writer = 0;
    std::string file = TextOf(entry.path());
    double written = FileWrittenAt(file);
    if (!WriterOf(name.substr(prefix.size()), &host, &writer) || written < 0) continue;
    if (Stale(host, writer, written, now) && RemoveFile(file)) ++removed;
  }
  return removed;
}

}  // namespace vpack
