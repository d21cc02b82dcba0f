#include "platform/AnsiChars.h"

#include <windows.h>

#include <string.h>

namespace text {

size_t CharBytes(const char* p) { return IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0' ? 2 : 1; }

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
