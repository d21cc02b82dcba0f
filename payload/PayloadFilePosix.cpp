#include "payload/PayloadFile.h"

#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>

namespace payload {

bool PayloadFile::OpenOwnExecutable() { return Open("/proc/self/exe"); }

bool PayloadFile::Open(const char* path) {
  Close();
  handle_ = fopen(path, "rb");
  error_ = handle_ != nullptr ? 0 : static_cast<uint32_t>(errno);
  return handle_ != nullptr;
}

void PayloadFile::Close() {
  if (handle_ != nullptr) fclose(static_cast<FILE*>(handle_));
  handle_ = nullptr;
}

int64_t PayloadFile::Size() const {
  struct stat info;
  if (handle_ == nullptr || fstat(fileno(static_cast<FILE*>(handle_)), &info) != 0) return -1;
  return info.st_size;
}

uint32_t PayloadFile::ReadAt(int64_t offset, void* buffer, uint32_t count) {
  error_ = 0;
  if (handle_ == nullptr) return 0;
  FILE* file = static_cast<FILE*>(handle_);
  if (fseeko(file, offset, SEEK_SET) != 0) {
    error_ = static_cast<uint32_t>(errno != 0 ? errno : EIO);
    return 0;
  }
  size_t done = fread(buffer, 1, count, file);
  if (done < count && ferror(file)) error_ = static_cast<uint32_t>(errno != 0 ? errno : EIO);
  return static_cast<uint32_t>(done);
}

}  // namespace payload
