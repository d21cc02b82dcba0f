#pragma once
// The system's tables for the Windows single-byte code pages, behind
// CodePage: glibc's iconv on Linux, Windows' own conversions in vpack.exe.
#include <stddef.h>

#include <string>

namespace vpack {

// Each converts from offset on, appending to out, until the end or a
// character the other side cannot take, and returns where it stopped (the
// input's size when all of it converted). UTF-8 input is valid.
size_t Utf8ToCodePage(unsigned page, const std::string& utf8, size_t offset, std::string& out);
size_t CodePageToUtf8(unsigned page, const std::string& bytes, size_t offset, std::string& out);

// Unicode's upper case of a letter of the Basic Multilingual Plane; the
// point itself when it has none.
unsigned UpperCaseOf(unsigned point);

}  // namespace vpack
