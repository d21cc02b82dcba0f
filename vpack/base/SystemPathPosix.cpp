#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include "vpack/base/SystemPath.h"

namespace vpack {

FILE* OpenFile(const std::string& utf8, const char* mode) { return fopen(utf8.c_str(), mode); }

bool SeekFile(FILE* file, uint64_t offset) { return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0; }

int64_t FileSizeOf(FILE* file) {
  struct stat info;
  return fstat(fileno(file), &info) == 0 ? info.st_size : -1;
}

bool MoveOver(const std::string& from, const std::string& to) { return rename(from.c_str(), to.c_str()) == 0; }

int ErrorNumberOf(uint32_t reason) { return static_cast<int>(reason); }

bool RemoveFile(const std::string& utf8) { return unlink(utf8.c_str()) == 0; }

bool IsLink(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_symlink(std::filesystem::symlink_status(path, error));
}

std::filesystem::path ResolvedPath(const std::filesystem::path& path, std::error_code& error) {
  return std::filesystem::canonical(path, error);
}

}  // namespace vpack
