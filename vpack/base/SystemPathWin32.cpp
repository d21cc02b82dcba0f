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

bool IsLink(const std::filesystem::path& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The system's own answer: the handle of what the path leads to, then its
// final name, without the "\\?\" that the call puts before it.
std::filesystem::path ResolvedPath(const std::filesystem::path& path, std::error_code& error) {
  HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error.assign(static_cast<int>(GetLastError()), std::system_category());
    return std::filesystem::path();
  }
  std::wstring name(32768, L'\0');
  DWORD length = GetFinalPathNameByHandleW(handle, &name[0], static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
  DWORD failure = GetLastError();
  CloseHandle(handle);
  if (length == 0 || length >= name.size()) {
    error.assign(static_cast<int>(length == 0 ? failure : ERROR_FILENAME_EXCED_RANGE), std::system_category());
    return std::filesystem::path();
  }
  name.resize(length);
  if (name.rfind(L"\\\\?\\UNC\\", 0) == 0) name = L"\\\\" + name.substr(8);
  else if (name.rfind(L"\\\\?\\", 0) == 0) name = name.substr(4);
  error.clear();
  return std::filesystem::path(name);
}

}  // namespace vpack
