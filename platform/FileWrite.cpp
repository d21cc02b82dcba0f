#include "platform/FileWrite.h"

#include <string.h>

#include "platform/AnsiChars.h"
#include "platform/FileAhead.h"
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
    if (!done || written != piece) {
      // A write that stops short without a reason is a full disk.
      if (done) SetLastError(ERROR_DISK_FULL);
      return false;
    }
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

HANDLE CreateNewForWriting(const char* path) { return CreateForWriting(path, CREATE_NEW); }

OutputFile::OutputFile(const char* path)
    : path_(path),
      handle_(INVALID_HANDLE_VALUE),
      closed_(false),
      kept_(false),
      failed_(false),
      error_(0),
      pieceWritten_(nullptr),
      context_(nullptr) {
  Open();
}

void OutputFile::Open() {
  beside_[0] = '\0';
  // Made already, where nothing was, while the file before was written.
  handle_ = TakeCreated(path_);
  if (Opened()) return;
  // Where there is nothing yet, one call: nothing earlier can be lost, and
  // an earlier copy is never opened for writing by it.
  handle_ = CreateNewForWriting(path_);
  if (Opened()) return;
  NoteError();
  // What is there may be the file opened ahead for the next name, which a
  // list may spell another way for this same file: it goes, and this one
  // is tried again, as if nothing had been made ahead.
  if (error_ == ERROR_FILE_EXISTS && DropCreated()) {
    handle_ = CreateNewForWriting(path_);
    if (Opened()) return;
    NoteError();
  }
  if (error_ != ERROR_FILE_EXISTS) return;
  // Opened for writing and closed untouched: the question is whether the
  // earlier copy could be replaced, asked before anything is written.
  HANDLE earlier = CreateForWriting(path_, OPEN_EXISTING);
  if (earlier == INVALID_HANDLE_VALUE) {
    NoteError();
    return;
  }
  CloseHandle(earlier);
  OpenBeside();
}

void OutputFile::OpenBeside() {
  // Where the name and the suffix pass what Windows takes, the suffix alone
  // in the same folder: a folder is never longer than 247, so it fits, and
  // one copy beside is written at a time.
  if (!text::Join(beside_, sizeof(beside_), path_, kBesideSuffix)) {
    const char* last = text::LastSeparator(path_);
    size_t folder = last != nullptr ? static_cast<size_t>(last - path_) + 1 : 0;
    if (folder + sizeof(kBesideSuffix) > sizeof(beside_)) {
      beside_[0] = '\0';
      error_ = ERROR_FILENAME_EXCED_RANGE;
      return;
    }
    memcpy(beside_, path_, folder);
    memcpy(beside_ + folder, kBesideSuffix, sizeof(kBesideSuffix));
  }
  // A stale copy under this name, a killed run's, is written over: the name
  // is the installer's own, so a file the user keeps beside the earlier copy
  // has another and is never touched.
  handle_ = CreateForWriting(beside_, CREATE_ALWAYS);
  if (!Opened()) NoteError();
}

bool OutputFile::Write(const void* bytes, uint32_t count) {
  const uint8_t* next = static_cast<const uint8_t*>(bytes);
  while (!failed_ && count > 0) {
    uint32_t piece = count < kWritePiece ? count : kWritePiece;
    failed_ = !WriteWhole(handle_, next, piece);
    if (failed_) NoteError();
    if (!failed_) size_ += piece;
    if (pieceWritten_ != nullptr) pieceWritten_(context_);
    next += piece;
    count -= piece;
  }
  return !failed_;
}

bool OutputFile::Close() {
  if (Opened()) {
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    closed_ = true;
  }
  return closed_;
}

bool OutputFile::Keep() {
  if (!Close()) return false;
  kept_ = kept_ || beside_[0] == '\0' || MoveFileExA(beside_, path_, MOVEFILE_REPLACE_EXISTING);
  if (!kept_) NoteError();
  return kept_;
}

void OutputFile::Discard() {
  if (Close() && !kept_) DeleteFileA(Written());
  closed_ = false;
}

}  // namespace platform
