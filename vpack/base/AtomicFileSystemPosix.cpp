#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include "vpack/base/AtomicFileSystem.h"

namespace vpack {
namespace {

// A plain array, since the handler may not allocate.
char g_pending[PATH_MAX + 64];

void RemovePendingAndExit(int signal) {
  if (g_pending[0] != '\0') unlink(g_pending);
  ::signal(signal, SIG_DFL);
  raise(signal);
}

}  // namespace

int CreateNewFile(const std::string& path) { return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }

int OpenToFlush(const std::string& path) { return open(path.c_str(), O_RDONLY | O_CLOEXEC); }

int64_t WriteSome(int fd, const uint8_t* bytes, size_t count) { return write(fd, bytes, count); }

int64_t WriteSomeAt(int fd, uint64_t offset, const uint8_t* bytes, size_t count) {
  return pwrite(fd, bytes, count, static_cast<off_t>(offset));
}

bool FlushFile(int fd) { return fsync(fd) == 0; }

bool CloseFile(int fd) { return close(fd) == 0; }

void SetPending(const std::string& path) {
  if (path.size() >= sizeof(g_pending)) return;
  memcpy(g_pending, path.c_str(), path.size() + 1);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) signal(s, RemovePendingAndExit);
}

void ClearPending() {
  for (int s : {SIGINT, SIGTERM, SIGHUP}) signal(s, SIG_DFL);
  g_pending[0] = '\0';
}

std::string ReplaceProblem(int error) { return strerror(error); }

}  // namespace vpack
