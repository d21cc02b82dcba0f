#pragma once
// Small ANSI text helpers shared by the stub and the host tools. Every copy is
// bounded by the destination's capacity and always terminates.
#include <stddef.h>
#include <stdint.h>

namespace text {

// Length of s, but never more than limit.
size_t LengthUpTo(const char* s, size_t limit);

// Copies at most maxChars characters of src into dst and terminates it.
// dst must hold maxChars + 1 bytes. Returns the number of characters copied.
size_t CopyAtMost(char* dst, const char* src, size_t maxChars);

// Appends src to the text in dst (capacity bytes in all). Returns false and
// leaves dst unchanged when the result would not fit.
bool Append(char* dst, size_t capacity, const char* src);

// first, second and third one after the other in dst (capacity bytes in
// all): the one way paths are joined. False when they do not fit; dst is then
// no path to use.
bool Join(char* dst, size_t capacity, const char* first, const char* second, const char* third = "");

// Appends value in decimal, without leading zeros; false when it does not fit.
bool AppendDecimal(char* dst, size_t capacity, uint32_t value);

// A heap copy of s (new[]), or null when memory is short.
char* Duplicate(const char* s);

// Copies at most size characters of src into a field of size bytes and fills
// the rest with zeros; a text of size characters or more has no terminator.
void FillField(char* field, size_t size, const char* src);

// An ASCII letter in lower case; any other byte as it is.
inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// ASCII letters compared without regard to case; other bytes exactly.
bool EqualNoCase(const char* a, const char* b);
bool EqualNoCaseN(const char* a, const char* b, size_t n);
// Order of a and b with ASCII letters compared as lower case: < 0, 0, > 0.
int CompareNoCase(const char* a, const char* b);

}  // namespace text
