#pragma once
// The Windows double-byte code pages, a system's or a payload's: Japanese
// (932), Simplified Chinese (936), Korean (949) and Traditional Chinese
// (950). A character there is one byte, or a lead byte and a second byte, and
// the second byte may be any of 0x40 to 0xFE: 0x5C, the byte of '\', among
// them ("ソ" is 83 5C in 932). Every rule that looks at a name byte by byte
// must step over a whole character, or it sees separators that are not there.
#include <stddef.h>

namespace text {

constexpr unsigned kDoubleBytePages[] = {932, 936, 949, 950};

constexpr bool IsDoubleBytePage(unsigned codePage) {
  for (unsigned page : kDoubleBytePages) {
    if (page == codePage) return true;
  }
  return false;
}

// Whether b starts a two-byte character in that code page; never in a
// single-byte one.
constexpr bool IsLeadByte(unsigned codePage, unsigned char b) {
  if (codePage == 932) return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
  return IsDoubleBytePage(codePage) && b >= 0x81 && b <= 0xFE;
}

// Bytes of the character at p: 2 for a lead byte followed by a second byte,
// else 1 (a lead byte at the end of the text stands alone).
inline size_t CharLength(unsigned codePage, const char* p) {
  return IsLeadByte(codePage, static_cast<unsigned char>(p[0])) && p[1] != '\0' ? 2 : 1;
}

}  // namespace text
