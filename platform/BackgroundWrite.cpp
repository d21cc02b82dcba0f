#include "platform/BackgroundWrite.h"

#include <string.h>

#include "platform/FileWrite.h"

namespace platform {

BackgroundWrite::~BackgroundWrite() { ReleaseBuffer(); }

void BackgroundWrite::ReleaseBuffer() {
  Finish();
  delete[] buffer_;
  buffer_ = nullptr;
  capacity_ = 0;
}

bool BackgroundWrite::Start(HANDLE file, const void* bytes, uint32_t count) {
  // The buffer and the file are the running write's until it is finished.
  if (Pending()) return false;
  if (capacity_ < count) {
    delete[] buffer_;
    buffer_ = new uint8_t[count];
    capacity_ = buffer_ != nullptr ? count : 0;
    if (buffer_ == nullptr) return false;
  }
  memcpy(buffer_, bytes, count);
  count_ = count;
  whole_ = false;
  file_.Reset(file);
  thread_.Reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
  if (Pending()) return true;
  file_.Release();
  return false;
}

DWORD WINAPI BackgroundWrite::Run(void* self) {
  BackgroundWrite* write = static_cast<BackgroundWrite*>(self);
  write->whole_ = WriteWhole(write->file_.Get(), write->buffer_, write->count_);
  return 0;
}

bool BackgroundWrite::Finish() {
  if (!Pending()) return true;
  WaitForSingleObject(thread_.Get(), INFINITE);
  thread_.Reset();
  file_.Reset();
  return whole_;
}

}  // namespace platform
