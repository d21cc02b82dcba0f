#pragma once
// One file's bytes written on a thread of its own, so that the installer can
// decode the next item while the disk takes this one. The bytes are copied
// first: the engine reuses its output block for the next item.
#include <stdint.h>
#include <windows.h>

#include "platform/ScopedHandle.h"

namespace platform {

class BackgroundWrite {
 public:
  BackgroundWrite() : buffer_(nullptr), capacity_(0), count_(0), whole_(false) {}
  ~BackgroundWrite();
  BackgroundWrite(const BackgroundWrite&) = delete;
  BackgroundWrite& operator=(const BackgroundWrite&) = delete;

  // Takes the file and starts writing a copy of the bytes. False, with the
  // file still the caller's, while the last write is not finished or when
  // there is no memory or thread for it.
  bool Start(HANDLE file, const void* bytes, uint32_t count);
  bool Pending() const { return thread_.Valid(); }
  // Waits for the write and closes its file; false if it was not whole.
  bool Finish();
  // Gives the copy's memory back, once the writes of a batch are finished:
  // a run in place keeps the process while the viewer runs.
  void ReleaseBuffer();

 private:
  static DWORD WINAPI Run(void* self);

  ScopedKernelObject thread_;
  ScopedFile file_;
  uint8_t* buffer_;
  uint32_t capacity_;
  uint32_t count_;
  bool whole_;
};

}  // namespace platform
