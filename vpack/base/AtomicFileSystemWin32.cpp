#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>

#include "vpack/base/AtomicFileSystem.h"
#include "vpack/base/SystemPath.h"

namespace vpack {
namespace {

// A plain array, since the handler may not allocate.
wchar_t g_pending[32768];

void RemovePendingAndExit(int signal) {
  if (g_pending[0] != L'\0') _wunlink(g_pending);
  ::signal(signal, SIG_DFL);
  raise(signal);
}

int Open(const std::string& path, int flags) {
  int fd = -1;
  _wsopen_s(&fd, PathOf(path).c_str(), flags | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, _S_IREAD | _S_IWRITE);
  return fd;
}

}  // namespace

int CreateNewFile(const std::string& path) { return Open(path, _O_WRONLY | _O_CREAT | _O_EXCL); }

// Windows flushes only what it may write.
int OpenToFlush(const std::string& path) { return Open(path, _O_WRONLY); }

int64_t WriteSome(int fd, const uint8_t* bytes, size_t count) {
  return _write(fd, bytes, static_cast<unsigned>(count < (1u << 30) ? count : (1u << 30)));
}

int64_t WriteSomeAt(int fd, uint64_t offset, const uint8_t* bytes, size_t count) {
  int64_t end = _lseeki64(fd, 0, SEEK_END);
  if (end < 0 || _lseeki64(fd, static_cast<int64_t>(offset), SEEK_SET) < 0) return -1;
  int64_t written = WriteSome(fd, bytes, count);
  int error = errno;
  if (_lseeki64(fd, end, SEEK_SET) < 0) return -1;
  errno = error;
  return written;
}

bool FlushFile(int fd) { return _commit(fd) == 0; }

bool CloseFile(int fd) { return _close(fd) == 0; }

void SetPending(const std::string& path) {
  std::wstring wide = PathOf(path).wstring();
  if (wide.size() >= sizeof(g_pending) / sizeof(g_pending[0])) return;
  memcpy(g_pending, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  for (int s : {SIGINT, SIGTERM, SIGBREAK}) signal(s, RemovePendingAndExit);
}

void ClearPending() {
  for (int s : {SIGINT, SIGTERM, SIGBREAK}) signal(s, SIG_DFL);
  g_pending[0] = L'\0';
}

std::string ReplaceProblem(int error) {
  if (error != EACCES) return strerror(error);
  return "another program holds it open, or it is read-only; it was left as it was";
}

}  // namespace vpack
