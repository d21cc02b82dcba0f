#include <windows.h>

#include <string>

#include "vpack/base/CodePageConversion.h"

namespace vpack {
namespace {

size_t Utf8Length(unsigned char lead) { return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1; }

// Windows gives the bytes a code page leaves undefined a control character
// (0x81 in 1252 is U+0081) or a private-use letter; iconv, whose answers
// vpack gives on Linux, has no letter for them.
bool Undefined(wchar_t letter) { return (letter >= 0x80 && letter <= 0x9F) || (letter >= 0xE000 && letter <= 0xF8FF); }

// The Vietnamese code page holds some letters only as a base letter and a
// combining mark, which iconv splits and joins on Linux; Windows does
// neither. Its own normalization does both, for 1258 alone: iconv's Hebrew
// page joins marks into presentation forms, which normalization never makes.
constexpr unsigned kVietnamese = 1258;

std::wstring Normalized(NORM_FORM form, const std::wstring& text) {
  std::wstring out(text.size() * 4 + 8, L'\0');
  int made = NormalizeString(form, text.data(), static_cast<int>(text.size()), &out[0], static_cast<int>(out.size()));
  out.resize(made > 0 ? static_cast<size_t>(made) : 0);
  return out;
}

bool ToPage(unsigned page, const std::wstring& wide, std::string& out) {
  char bytes[16];
  BOOL defaulted = FALSE;
  int made = WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), bytes,
                                 sizeof(bytes), nullptr, &defaulted);
  if (made <= 0 || defaulted) return false;
  out.append(bytes, static_cast<size_t>(made));
  return true;
}

// A letter split into its base and marks, joined again as far as the page
// holds the joined letters: "ế" is "ê" and a combining acute in 1258.
bool ToPageSplit(unsigned page, const std::wstring& letter, std::string& out) {
  std::wstring parts = Normalized(NormalizationD, letter);
  if (parts.empty()) return false;
  std::wstring held(1, parts[0]);
  std::string probe;
  for (size_t i = 1; i < parts.size(); ++i) {
    std::wstring joined = Normalized(NormalizationC, held + parts[i]);
    probe.clear();
    if (joined.size() == 1 && ToPage(page, joined, probe)) {
      held = joined;
    } else {
      if (!ToPage(page, held, out)) return false;
      held.assign(1, parts[i]);
    }
  }
  return ToPage(page, held, out);
}

}  // namespace

size_t Utf8ToCodePage(unsigned page, const std::string& utf8, size_t offset, std::string& out) {
  for (size_t at = offset; at < utf8.size();) {
    int length = static_cast<int>(Utf8Length(static_cast<unsigned char>(utf8[at])));
    wchar_t wide[2];
    int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data() + at, length, wide, 2);
    std::wstring letter(wide, units > 0 ? static_cast<size_t>(units) : 0);
    if (letter.empty() || !(ToPage(page, letter, out) || (page == kVietnamese && ToPageSplit(page, letter, out)))) {
      return at;
    }
    at += static_cast<size_t>(length);
  }
  return utf8.size();
}

size_t CodePageToUtf8(unsigned page, const std::string& bytes, size_t offset, std::string& out) {
  std::wstring letters;
  size_t at = offset;
  for (; at < bytes.size(); ++at) {
    wchar_t letter = static_cast<unsigned char>(bytes[at]);
    if (letter >= 0x80 &&
        (MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data() + at, 1, &letter, 1) != 1 || Undefined(letter))) {
      break;
    }
    letters += letter;
  }
  if (page == kVietnamese && !letters.empty()) {
    std::wstring joined = Normalized(NormalizationC, letters);
    if (!joined.empty()) letters = joined;
  }
  if (!letters.empty()) {
    std::string utf8(letters.size() * 3, '\0');
    int made = WideCharToMultiByte(CP_UTF8, 0, letters.data(), static_cast<int>(letters.size()), &utf8[0],
                                   static_cast<int>(utf8.size()), nullptr, nullptr);
    out.append(utf8.data(), static_cast<size_t>(made > 0 ? made : 0));
  }
  return at;
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
