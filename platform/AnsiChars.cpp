#include "platform/AnsiChars.h"

#include <windows.h>

#include <string.h>

#include "platform/DoubleByte.h"

namespace text {

// The lead bytes of the double-byte pages Windows sets as a system's ANSI
// code page, by the payload's one rule.
size_t CharBytes(const char* p) { return text::CharLength(GetACP(), p); }

const char* LastSeparator(const char* path) {
  const char* last = nullptr;
  for (const char* p = path; *p != '\0'; p += CharBytes(p)) {
    if (IsSeparatorAt(p)) last = p;
  }
  return last;
}

size_t CopyWholeChars(char* dst, const char* src, size_t maxBytes) {
  size_t n = 0;
  while (src[n] != '\0') {
    size_t step = CharBytes(src + n);
    if (n + step > maxBytes) break;
    n += step;
  }
  memcpy(dst, src, n);
  dst[n] = '\0';
  return n;
}

}  // namespace text
