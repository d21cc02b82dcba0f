#include "platform/FileWrite.h"

namespace platform {

// Null (a zero image, no constructor) unless a test sets it.
WriteHook writeHook;

namespace {

// One call for a file of several megabytes has Linux under Wine take page
// cache for it in huge pieces, measured at four times the time of the same
// bytes written a megabyte at a time; Windows does not mind either way.
constexpr uint32_t kWritePiece = 1u << 20;

}  // namespace

bool WriteWhole(HANDLE file, const void* bytes, uint32_t count) {
  const uint8_t* next = static_cast<const uint8_t*>(bytes);
  while (count > 0) {
    DWORD piece = count < kWritePiece ? count : kWritePiece;
    DWORD written = 0;
    BOOL done = writeHook != nullptr ? writeHook(file, next, piece, &written)
                                     : WriteFile(file, next, piece, &written, nullptr);
    if (!done || written != piece) return false;
    next += piece;
    count -= piece;
  }
  return true;
}

OutputFile::OutputFile(const char* path)
    : path_(path),
      handle_(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)),
      failed_(false) {}

bool OutputFile::Write(const void* bytes, uint32_t count) {
  failed_ = failed_ || !WriteWhole(handle_, bytes, count);
  return !failed_;
}

void OutputFile::Keep() {
  if (Opened()) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

void OutputFile::Discard() {
  if (!Opened()) return;
  Keep();
  DeleteFileA(path_);
}

}  // namespace platform
