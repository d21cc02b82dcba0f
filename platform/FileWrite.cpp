#include "platform/FileWrite.h"

#include "platform/Text.h"

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

OutputFile::OutputFile(const char* path) : path_(path), handle_(INVALID_HANDLE_VALUE), failed_(false) {
  beside_[0] = '\0';
  // Opened for writing and closed untouched: the question is whether it
  // could be replaced, asked before anything is written.
  HANDLE earlier = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (earlier != INVALID_HANDLE_VALUE) {
    CloseHandle(earlier);
    if (!text::Join(beside_, sizeof(beside_), path, "~")) return;
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
    return;
  }
  handle_ = CreateFileA(Written(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool OutputFile::Write(const void* bytes, uint32_t count) {
  failed_ = failed_ || !WriteWhole(handle_, bytes, count);
  return !failed_;
}

bool OutputFile::Close() {
  if (!Opened()) return false;
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  return true;
}

bool OutputFile::Keep() {
  if (!Close()) return false;
  if (beside_[0] == '\0' || MoveFileExA(beside_, path_, MOVEFILE_REPLACE_EXISTING)) return true;
  DeleteFileA(beside_);
  return false;
}

void OutputFile::Discard() {
  if (Close()) DeleteFileA(Written());
}

}  // namespace platform
