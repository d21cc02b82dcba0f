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

bool PayloadFile::Seek(int64_t offset) {
  return handle_ != nullptr && fseeko(static_cast<FILE*>(handle_), offset, SEEK_SET) == 0;
}

uint32_t PayloadFile::Read(void* buffer, uint32_t count) {
  error_ = 0;
  if (handle_ == nullptr) return 0;
  size_t done = fread(buffer, 1, count, static_cast<FILE*>(handle_));
  if (done < count && ferror(static_cast<FILE*>(handle_))) error_ = static_cast<uint32_t>(errno != 0 ? errno : EIO);
  return static_cast<uint32_t>(done);
}

}  // namespace payload
