#include "vpack/base/SystemPath.h"

#include <errno.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vpack {

std::filesystem::path PathOf(const std::string& utf8) { return std::filesystem::u8path(utf8); }

std::string TextOf(const std::filesystem::path& path) { return path.u8string(); }

FILE* OpenFile(const std::string& utf8, const char* mode) {
#ifdef _WIN32
  std::wstring wideMode(mode, mode + strlen(mode));
  return _wfopen(PathOf(utf8).c_str(), wideMode.c_str());
#else
  return fopen(utf8.c_str(), mode);
#endif
}

bool SeekFile(FILE* file, uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<int64_t>(offset), SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

int64_t FileSizeOf(FILE* file) {
#ifdef _WIN32
  struct _stat64 info;
  return _fstat64(_fileno(file), &info) == 0 ? info.st_size : -1;
#else
  struct stat info;
  return fstat(fileno(file), &info) == 0 ? info.st_size : -1;
#endif
}

bool MoveOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
  // Unlike rename, replaces a file that another program (Explorer making a
  // thumbnail) holds open with delete sharing.
  if (MoveFileExW(PathOf(from).c_str(), PathOf(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DWORD error = GetLastError();
  errno = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ? EACCES : EIO;
  return false;
#else
  return rename(from.c_str(), to.c_str()) == 0;
#endif
}

int ErrorNumberOf(uint32_t reason) {
#ifdef _WIN32
  switch (reason) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return EACCES;
    default: return EIO;
  }
#else
  return static_cast<int>(reason);
#endif
}

bool RemoveFile(const std::string& utf8) {
#ifdef _WIN32
  return DeleteFileW(PathOf(utf8).c_str());
#else
  return unlink(utf8.c_str()) == 0;
#endif
}

}  // namespace vpack
