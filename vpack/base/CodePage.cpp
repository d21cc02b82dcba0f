#include "vpack/base/CodePage.h"

#include <stdio.h>

#include "vpack/base/CodePageConversion.h"
#include "vpack/base/Error.h"

namespace vpack {
namespace {

// The code point of the UTF-8 sequence at at, which InvalidUtf8At has passed.
unsigned CodePointAt(const std::string& text, size_t at) {
  unsigned char lead = static_cast<unsigned char>(text[at]);
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  unsigned point = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) point = (point << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
  return point;
}

size_t SequenceLength(unsigned char lead) { return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1; }

std::string Utf8Of(unsigned point) {
  std::string out;
  if (point < 0x80) return std::string(1, static_cast<char>(point));
  if (point < 0x800) {
    out += static_cast<char>(0xC0 | (point >> 6));
  } else {
    out += static_cast<char>(0xE0 | (point >> 12));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
  }
  return out + static_cast<char>(0x80 | (point & 0x3F));
}

}  // namespace

bool IsSupportedCodePage(unsigned number) { return number == 874 || (number >= 1250 && number <= 1258); }

CodePage::CodePage(unsigned number) : number_(number) {
  if (!IsSupportedCodePage(number)) {
    throw Error("code page " + std::to_string(number) + " is not a Windows single-byte code page (" +
                kSupportedCodePages + ")");
  }
}

size_t InvalidUtf8At(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = SequenceLength(lead);
    if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > text.size()) return i;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return i;
    }
    unsigned point = CodePointAt(text, i);
    bool overlong = (length == 3 && point < 0x800) || (length == 4 && point < 0x10000);
    if (overlong || (point >= 0xD800 && point <= 0xDFFF) || point > 0x10FFFF) return i;
    i += length;
  }
  return std::string::npos;
}

std::string CodePage::FromUtf8(const std::string& utf8, std::string& problem) const {
  problem.clear();
  size_t invalid = InvalidUtf8At(utf8);
  if (invalid != std::string::npos) {
    char byte[8];
    snprintf(byte, sizeof(byte), "0x%02X", static_cast<unsigned char>(utf8[invalid]));
    problem = std::string("is not valid UTF-8 (byte ") + byte + " at offset " + std::to_string(invalid) + ")";
    return std::string();
  }
  std::string out;
  size_t stopped = Utf8ToCodePage(number_, utf8, 0, out);
  if (stopped < utf8.size()) {
    char point[16];
    snprintf(point, sizeof(point), "U+%04X", CodePointAt(utf8, stopped));
    problem = "holds \"" + utf8.substr(stopped, SequenceLength(static_cast<unsigned char>(utf8[stopped]))) + "\" (" +
              point + "), which code page " + std::to_string(number_) + " cannot hold";
    return std::string();
  }
  return out;
}

std::string CodePage::Folded(const std::string& bytes) const {
  if (upper_.empty()) {
    // Unicode's upper case of each byte's letter, where the page has it.
    for (unsigned byte = 0; byte < 256; ++byte) {
      std::string letter = ToUtf8(std::string(1, static_cast<char>(byte)));
      unsigned point = CodePointAt(letter, 0);
      unsigned upper = point < 0x10000 ? UpperCaseOf(point) : point;
      std::string problem;
      std::string mapped = FromUtf8(Utf8Of(upper), problem);
      upper_ += problem.empty() && mapped.size() == 1 ? mapped[0] : static_cast<char>(byte);
    }
  }
  std::string folded = bytes;
  for (char& c : folded) c = upper_[static_cast<unsigned char>(c)];
  return folded;
}

std::string CodePage::ToUtf8(const std::string& bytes) const {
  std::string out;
  for (size_t at = 0; at < bytes.size();) {
    at = CodePageToUtf8(number_, bytes, at, out);
    if (at < bytes.size()) {
      out += "\xEF\xBF\xBD";
      ++at;
    }
  }
  return out;
}

}  // namespace vpack
