#include <errno.h>
#include <string.h>
#include <sys/stat.h>
#include <windows.h>

#include "vpack/base/SystemPath.h"

namespace vpack {

FILE* OpenFile(const std::string& utf8, const char* mode) {
  std::wstring wideMode(mode, mode + strlen(mode));
  return _wfopen(PathOf(utf8).c_str(), wideMode.c_str());
}

bool SeekFile(FILE* file, uint64_t offset) { return _fseeki64(file, static_cast<int64_t>(offset), SEEK_SET) == 0; }

int64_t FileSizeOf(FILE* file) {
  struct _stat64 info;
  return _fstat64(_fileno(file), &info) == 0 ? info.st_size : -1;
}

bool MoveOver(const std::string& from, const std::string& to) {
  // rename refuses a target that exists on Windows; this replaces it, even
  // while another program (Explorer making a thumbnail) holds it open with
  // delete sharing.
  if (MoveFileExW(PathOf(from).c_str(), PathOf(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DWORD error = GetLastError();
  errno = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ? EACCES : EIO;
  return false;
}

// The payload reader gives Windows' own error codes.
int ErrorNumberOf(uint32_t reason) {
  switch (reason) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return EACCES;
    default: return EIO;
  }
}

bool RemoveFile(const std::string& utf8) { return DeleteFileW(PathOf(utf8).c_str()); }

}  // namespace vpack
