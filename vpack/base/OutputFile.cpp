#include "vpack/base/OutputFile.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include "vpack/base/Error.h"
#include "vpack/base/TemporaryNames.h"

namespace vpack {
namespace {

// The one temporary that an interrupt must remove; vpack writes one output
// at a time. A plain array, since the handler may not allocate.
char g_pending[PATH_MAX + 64];

void RemovePendingAndExit(int signal) {
  if (g_pending[0] != '\0') unlink(g_pending);
  ::signal(signal, SIG_DFL);
  raise(signal);
}

void SetPending(const std::string& path) {
  if (path.size() >= sizeof(g_pending)) return;
  memcpy(g_pending, path.c_str(), path.size() + 1);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) signal(s, RemovePendingAndExit);
}

void ClearPending() {
  for (int s : {SIGINT, SIGTERM, SIGHUP}) signal(s, SIG_DFL);
  g_pending[0] = '\0';
}

}  // namespace

OutputFile::OutputFile(const std::string& target) : target_(target) {
  // O_EXCL with a name of our own rather than mkstemp: the file is created
  // with the mode the umask allows, as if the target were written directly.
  // A killed pack cannot remove its own; the next one to this output does.
  RemoveStaleTemporaries(target);
  for (int attempt = 0; fd_ < 0 && attempt < 100; ++attempt) {
    temporary_ = TemporaryName(target, getpid(), attempt);
    fd_ = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    int error = errno;
    temporary_.clear();
    throw Error("cannot create a file next to " + Quoted(target) + ": " + strerror(error));
  }
  SetPending(temporary_);
}

OutputFile::~OutputFile() { Discard(); }

void OutputFile::Write(const uint8_t* bytes, size_t count) {
  while (count > 0) {
    ssize_t written = write(fd_, bytes, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) Fail("write", written < 0 ? errno : ENOSPC);
    bytes += written;
    count -= static_cast<size_t>(written);
  }
}

void OutputFile::WriteAt(uint64_t offset, const uint8_t* bytes, size_t count) {
  while (count > 0) {
    ssize_t written = pwrite(fd_, bytes, count, static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) Fail("write", written < 0 ? errno : ENOSPC);
    bytes += written;
    offset += static_cast<uint64_t>(written);
    count -= static_cast<size_t>(written);
  }
}

const std::string& OutputFile::Close() {
  if (fd_ >= 0) {
    int result = close(fd_);
    fd_ = -1;
    if (result != 0) Fail("write", errno);
  }
  return temporary_;
}

void OutputFile::Commit() {
  // Reopened when closed: another program may have rewritten it since.
  if (fd_ < 0) fd_ = open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0 || fsync(fd_) != 0) Fail("write", errno);
  int result = close(fd_);
  fd_ = -1;
  if (result != 0) Fail("write", errno);
  if (rename(temporary_.c_str(), target_.c_str()) != 0) Fail("create", errno);
  temporary_.clear();
  ClearPending();
}

void OutputFile::Fail(const std::string& doing, int error) {
  Discard();
  throw Error("cannot " + doing + " " + Quoted(target_) + ": " + strerror(error));
}

void OutputFile::Discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
  ClearPending();
}

}  // namespace vpack
