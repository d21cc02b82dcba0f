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
  // Bytes actually read from offset on; fewer than count at the end of the
  // file or on error. Read in pieces of a bounded size: one read of a
  // gigabyte fails under Wine, and reads of many megabytes fail from some
  // network shares.
  uint32_t ReadAt(int64_t offset, void* buffer, uint32_t count);
  // The system's error code of the last read that stopped short, 0 when it
  // did not or the file simply ended; on the host, also of an open that failed.
  uint32_t Error() const { return error_; }

 private:
  void* handle_ = nullptr;
  uint32_t error_ = 0;
};

}  // namespace payload
