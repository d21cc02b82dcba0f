#pragma once
// ANSI text as the system reads it: on Japanese, Chinese and Korean Windows a
// character may be two bytes, and its second byte may be 0x5C, the byte of
// '\' ("ソ" is 83 5C in code page 932). Every walk over a path the system, the
// user or the payload gives steps by these, never byte by byte, or it finds
// separators that are not there and makes folders nobody asked for.
#include <stddef.h>

namespace text {

// Bytes of the character at p in the system's ANSI code page: 2 for a lead
// byte followed by its second byte, else 1.
size_t CharBytes(const char* p);

// Whether the character at p is a path separator, '\' or '/'.
inline bool IsSeparatorAt(const char* p) { return *p == '\\' || *p == '/'; }

// Where the last separator of path is, or null.
const char* LastSeparator(const char* path);

// Copies the whole characters of src that fit in maxBytes bytes into dst
// (maxBytes + 1 bytes) and terminates it: never half a character.
size_t CopyWholeChars(char* dst, const char* src, size_t maxBytes);

}  // namespace text
