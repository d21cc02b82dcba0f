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

namespace {

HANDLE CreateForWriting(const char* path, DWORD disposition) {
  return CreateFileA(path, GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

OutputFile::OutputFile(const char* path) : path_(path), handle_(INVALID_HANDLE_VALUE), failed_(false) {
  beside_[0] = '\0';
  // Opened for writing and closed untouched: the question is whether it
  // could be replaced, asked before anything is written.
  HANDLE earlier = CreateForWriting(path, OPEN_EXISTING);
  if (earlier != INVALID_HANDLE_VALUE) {
    CloseHandle(earlier);
    OpenBeside();
  } else if (GetLastError() == ERROR_FILE_NOT_FOUND) {
    handle_ = CreateForWriting(path, CREATE_ALWAYS);
  }
}

void OutputFile::OpenBeside() {
  char suffix[3] = "~";
  for (int attempt = 0; attempt < 10 && !Opened(); ++attempt) {
    if (attempt > 0) suffix[1] = static_cast<char>('0' + attempt);
    if (!text::Join(beside_, sizeof(beside_), path_, suffix)) {
      beside_[0] = '\0';
      handle_ = CreateForWriting(path_, CREATE_ALWAYS);
      return;
    }
    handle_ = CreateForWriting(beside_, CREATE_NEW);
    if (!Opened() && GetLastError() != ERROR_FILE_EXISTS) break;
  }
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
