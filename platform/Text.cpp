#include "platform/Text.h"

#include <string.h>

namespace text {

size_t LengthUpTo(const char* s, size_t limit) {
  size_t n = 0;
  while (n < limit && s[n] != '\0') ++n;
  return n;
}

size_t CopyAtMost(char* dst, const char* src, size_t maxChars) {
  size_t n = LengthUpTo(src, maxChars);
  memcpy(dst, src, n);
  dst[n] = '\0';
  return n;
}

bool Append(char* dst, size_t capacity, const char* src) {
  size_t used = LengthUpTo(dst, capacity);
  size_t add = strlen(src);
  if (used >= capacity || add >= capacity - used) return false;
  memcpy(dst + used, src, add + 1);
  return true;
}

bool Join(char* dst, size_t capacity, const char* first, const char* second, const char* third) {
  dst[0] = '\0';
  return Append(dst, capacity, first) && Append(dst, capacity, second) && Append(dst, capacity, third);
}

bool AppendDecimal(char* dst, size_t capacity, uint32_t value) {
  char digits[12];
  char* p = digits + sizeof(digits);
  *--p = '\0';
  do {
    *--p = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return Append(dst, capacity, p);
}

char* Duplicate(const char* s) {
  size_t n = strlen(s);
  char* copy = new char[n + 1];
  if (copy != nullptr) memcpy(copy, s, n + 1);
  return copy;
}

void FillField(char* field, size_t size, const char* src) {
  size_t n = LengthUpTo(src, size);
  memcpy(field, src, n);
  memset(field + n, 0, size - n);
}

bool EqualNoCaseN(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    if (a[i] == '\0') return true;
  }
  return true;
}

int CompareNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(LowerAscii(*a));
    unsigned char y = static_cast<unsigned char>(LowerAscii(*b));
    if (x != y) return x < y ? -1 : 1;
    if (x == '\0') return 0;
  }
}

bool EqualNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    if (LowerAscii(*a) != LowerAscii(*b)) return false;
    if (*a == '\0') return true;
  }
}

}  // namespace text
