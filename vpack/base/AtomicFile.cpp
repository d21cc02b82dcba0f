#include "vpack/base/AtomicFile.h"

#include <errno.h>
#include <string.h>

#include "vpack/base/Error.h"
#include "vpack/base/AtomicFileSystem.h"
#include "vpack/base/Processes.h"
#include "vpack/base/SystemPath.h"
#include "vpack/base/TemporaryNames.h"

namespace vpack {

AtomicFile::AtomicFile(const std::string& target) : target_(target) {
  // A name of our own rather than mkstemp: the file is created with the
  // mode the umask allows, as if the target were written directly. A killed
  // pack cannot remove its own; the next one to this output does.
  RemoveStaleTemporaries(target);
  for (int attempt = 0; fd_ < 0 && attempt < 100; ++attempt) {
    temporary_ = TemporaryName(target, HostTag(), CurrentProcessId(), attempt);
    fd_ = CreateNewFile(temporary_);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    int error = errno;
    temporary_.clear();
    throw Error("cannot create a file next to " + Quoted(target) + ": " + strerror(error));
  }
  SetPending(temporary_);
}

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Write(const uint8_t* bytes, size_t count) {
  while (count > 0) {
    int64_t written = WriteSome(fd_, bytes, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) Fail("write", written < 0 ? errno : ENOSPC);
    bytes += written;
    count -= static_cast<size_t>(written);
  }
}

void AtomicFile::WriteAt(uint64_t offset, const uint8_t* bytes, size_t count) {
  while (count > 0) {
    int64_t written = WriteSomeAt(fd_, offset, bytes, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) Fail("write", written < 0 ? errno : ENOSPC);
    bytes += written;
    offset += static_cast<uint64_t>(written);
    count -= static_cast<size_t>(written);
  }
}

const std::string& AtomicFile::Close() {
  if (fd_ >= 0) {
    bool closed = CloseFile(fd_);
    fd_ = -1;
    if (!closed) Fail("write", errno);
  }
  return temporary_;
}

void AtomicFile::Commit() {
  // Reopened when closed: another program may have rewritten it since.
  if (fd_ < 0) fd_ = OpenToFlush(temporary_);
  if (fd_ < 0 || !FlushFile(fd_)) Fail("write", errno);
  bool closed = CloseFile(fd_);
  fd_ = -1;
  if (!closed) Fail("write", errno);
  if (!MoveOver(temporary_, target_)) {
    int error = errno;
    Discard();
    throw Error("cannot create " + Quoted(target_) + ": " + ReplaceProblem(error));
  }
  temporary_.clear();
  ClearPending();
}

void AtomicFile::Fail(const std::string& doing, int error) {
  Discard();
  throw Error("cannot " + doing + " " + Quoted(target_) + ": " + strerror(error));
}

void AtomicFile::Discard() {
  if (fd_ >= 0) CloseFile(fd_);
  fd_ = -1;
  if (!temporary_.empty()) RemoveFile(temporary_);
  temporary_.clear();
  ClearPending();
}

}  // namespace vpack
