#pragma once
// Whole-buffer writes to a file, with a seam for tests: a full disk or a
// write that stops short cannot be made to happen on demand otherwise.
#include <stdint.h>
#include <windows.h>

#include "platform/BesideName.h"

namespace platform {

// Stands in for WriteFile while set; tests set it to fail or stop short.
using WriteHook = BOOL (*)(HANDLE file, const void* bytes, DWORD count, DWORD* written);
extern WriteHook writeHook;

// A file opened for writing at path, only where nothing is there yet, or
// INVALID_HANDLE_VALUE.
HANDLE CreateNewForWriting(const char* path);

// True only when all count bytes were written.
bool WriteWhole(HANDLE file, const void* bytes, uint32_t count);

// A file the installation writes: written whole in pieces, and deleted again
// unless kept, so that nothing cut short or damaged stays behind looking
// installed. Where nothing is yet it is written at its name, one call to
// open it: a kill can then leave it partial only where nothing was, and the
// next run replaces that whole. An earlier copy of it (an earlier
// installation's) is replaced only when the new one is kept: until then the
// new one is written beside it (NAME + kBesideSuffix). A copy that cannot be
// opened for writing now (a program that runs, a read-only file) refuses the
// file at once, as writing over it would. Where NAME + kBesideSuffix would
// pass what Windows takes, the new copy is kBesideSuffix alone in the same
// folder.
class OutputFile {
 public:
  explicit OutputFile(const char* path);
  ~OutputFile() { Discard(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Called after each piece written, so that windows go on answering while a
  // large file is written.
  using PieceWritten = void (*)(void* context);
  void OnEachPiece(PieceWritten call, void* context) {
    pieceWritten_ = call;
    context_ = context;
  }

  bool Opened() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Whether an earlier copy is there, which the new one replaces when kept.
  bool Replaces() const { return beside_[0] != '\0'; }
  // Tries again to open a file that could not be opened: another program
  // may have let the earlier copy go since.
  void Open();
  // False, and nothing more written, once a write has failed.
  bool Write(const void* bytes, uint32_t count);
  bool Failed() const { return failed_; }
  // The bytes written so far.
  uint64_t Size() const { return size_; }
  // The system's reason for the last failure to open, write or put in place;
  // 0 when there is none.
  DWORD Error() const { return error_; }
  // Closes the file and puts it in place; false, the earlier copy as it
  // was, when it could not be replaced after all: the new one stays beside
  // it, for Keep to try again or Discard to remove.
  bool Keep();
  // Closes and deletes a file not kept; nothing when none was made.
  void Discard();

 private:
  const char* Written() const { return Replaces() ? beside_ : path_; }
  void OpenBeside();
  bool Close();
  void NoteError() { error_ = GetLastError(); }

  const char* path_;
  HANDLE handle_;
  // Written whole and closed, and whether put in place.
  bool closed_;
  bool kept_;
  bool failed_;
  DWORD error_;
  uint64_t size_ = 0;
  PieceWritten pieceWritten_;
  void* context_;
  char beside_[MAX_PATH];
};

}  // namespace platform
