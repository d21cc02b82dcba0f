#include <windows.h>

#include "vpack/base/CodePageConversion.h"

namespace vpack {
namespace {

size_t Utf8Length(unsigned char lead) { return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1; }

// Windows gives the bytes a code page leaves undefined a control character
// (0x81 in 1252 is U+0081) or a private-use letter; iconv, whose answers
// vpack gives on Linux, has no letter for them.
bool Undefined(wchar_t letter) { return (letter >= 0x80 && letter <= 0x9F) || (letter >= 0xE000 && letter <= 0xF8FF); }

}  // namespace

size_t Utf8ToCodePage(unsigned page, const std::string& utf8, size_t offset, std::string& out) {
  for (size_t at = offset; at < utf8.size();) {
    int length = static_cast<int>(Utf8Length(static_cast<unsigned char>(utf8[at])));
    wchar_t wide[2];
    int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data() + at, length, wide, 2);
    char bytes[8];
    BOOL defaulted = FALSE;
    int made = units > 0 ? WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide, units, bytes, sizeof(bytes), nullptr,
                                               &defaulted)
                         : 0;
    if (made <= 0 || defaulted) return at;
    out.append(bytes, static_cast<size_t>(made));
    at += static_cast<size_t>(length);
  }
  return utf8.size();
}

size_t CodePageToUtf8(unsigned page, const std::string& bytes, size_t offset, std::string& out) {
  for (size_t at = offset; at < bytes.size(); ++at) {
    if (static_cast<unsigned char>(bytes[at]) < 0x80) {
      out += bytes[at];
      continue;
    }
    wchar_t letter = 0;
    if (MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data() + at, 1, &letter, 1) != 1 || Undefined(letter)) {
      return at;
    }
    char utf8[4];
    int made = WideCharToMultiByte(CP_UTF8, 0, &letter, 1, utf8, sizeof(utf8), nullptr, nullptr);
    out.append(utf8, static_cast<size_t>(made > 0 ? made : 0));
  }
  return bytes.size();
}

// Linguistic casing is Unicode's upper case, which glibc gives on Linux; the
// plain one leaves letters such as the final sigma as they are.
unsigned UpperCaseOf(unsigned point) {
  wchar_t letter = static_cast<wchar_t>(point);
  wchar_t upper = letter;
  LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING, &letter, 1, &upper, 1, nullptr,
                nullptr, 0);
  return upper;
}

}  // namespace vpack
