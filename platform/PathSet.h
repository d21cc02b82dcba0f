#pragma once
// Paths compared as Windows compares file names: letter by letter in the
// system's code page, without regard to case (the system's own case
// mapping, not just ASCII's), '/' the same as '\', a doubled or a trailing
// '\' the same as one or none. Byte by byte, the second byte of a
// double-byte letter would be folded as if it were ASCII ("ア" and "ヂ" one
// name on 932) and "a/b" and "a\b" two.
#include <stdint.h>
#include <windows.h>

namespace platform {

// The form names are compared in: UTF-16 of the system's code page with the
// separators made one, in size wide characters. Its length, or -1 when the
// path has no such form or does not fit. With upper, in upper case.
int PathKey(const char* path, wchar_t* key, int size, bool upper);

// Whether key (an upper-case PathKey) names base (one too) or a place below it.
bool KeyUnder(const wchar_t* key, int keyLength, const wchar_t* base, int baseLength);

// A set of paths kept by reference (each must outlive the set), found in
// about one comparison however many it holds: lists of tens of thousands
// of files are merged without comparing each with each.
class PathSet {
 public:
  PathSet() : slots_(nullptr), capacity_(0), count_(0) {}
  ~PathSet();
  PathSet(const PathSet&) = delete;
  PathSet& operator=(const PathSet&) = delete;

  enum class Added { kAdded, kThere, kNoForm, kNoMemory };
  Added Add(const char* path);

 private:
  struct Slot {
    uint32_t hash;
    const char* path;
  };
  // The slot of path's key (hash given), empty or holding the same name.
  Slot* Find(const wchar_t* key, int length, uint32_t hash) const;
  bool Grow();

  Slot* slots_;
  uint32_t capacity_;  // a power of two, or 0
  uint32_t count_;
};

}  // namespace platform
