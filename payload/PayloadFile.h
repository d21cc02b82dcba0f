#pragma once
// Read-only access to the file that holds a payload: the stub's own
// executable, or any file for the host tools. Owns its handle.
#include <stdint.h>

namespace payload {

class PayloadFile {
 public:
  PayloadFile() {}
  ~PayloadFile() { Close(); }
  PayloadFile(const PayloadFile&) = delete;
  PayloadFile& operator=(const PayloadFile&) = delete;

  // The running program's own file, found through the module's file name so
  // that arguments on the command line and long paths do not matter.
  bool OpenOwnExecutable();
  bool Open(const char* path);
  bool IsOpen() const { return handle_ != nullptr; }
  void Close();

  // File size in bytes, or -1 when it cannot be told.
  int64_t Size() const;
  bool Seek(int64_t offset);
  // Bytes actually read; fewer than count at the end of the file or on error.
  uint32_t Read(void* buffer, uint32_t count);

 private:
  void* handle_ = nullptr;
};

}  // namespace payload
