#include "vpack/base/CodePage.h"

#include <stdio.h>

#include "platform/DoubleByte.h"
#include "vpack/base/CodePageLetters.h"
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

// The bytes of one letter, or none when the page cannot hold it.
std::string BytesOf(const payload::CodePageTable& table, unsigned point) {
  unsigned code = CodeOfLetter(table, point);
  if (code >= 0x100) return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  if (code != 0 || point == 0) return std::string(1, static_cast<char>(code));
  for (unsigned i = 0; i < table.combinedCount; ++i) {
    const payload::CombinedLetter& c = table.combined[i];
    if (c.letter == point && (c.ways & payload::kWrittenSplit)) {
      std::string bytes(1, static_cast<char>(c.base));
      return c.mark != 0 ? bytes + static_cast<char>(c.mark) : bytes;
    }
  }
  return std::string();
}

// The letter a base byte and the mark byte after it read as together, or 0.
unsigned JoinedLetter(const payload::CodePageTable& table, unsigned char base, unsigned char mark) {
  for (unsigned i = 0; i < table.combinedCount; ++i) {
    const payload::CombinedLetter& c = table.combined[i];
    if (c.base == base && c.mark == mark && (c.ways & payload::kReadJoined)) return c.letter;
  }
  return 0;
}

// The code of the character at at: its byte, or its two bytes as one number.
unsigned CodeAt(const payload::CodePageTable& table, const std::string& bytes, size_t at) {
  unsigned char byte = static_cast<unsigned char>(bytes[at]);
  if (text::CharLength(table.number, bytes.c_str() + at) == 1) return byte;
  return byte << 8 | static_cast<unsigned char>(bytes[at + 1]);
}

// Converts from offset on until the end or a character the page leaves
// undefined, and returns where it stopped.
size_t AppendUtf8(const payload::CodePageTable& table, const std::string& bytes, size_t offset, std::string& out) {
  for (size_t at = offset; at < bytes.size(); ++at) {
    unsigned code = CodeAt(table, bytes, at);
    unsigned letter = LetterOfCode(table, code);
    if (letter == 0 && code != 0) return at;
    bool single = code < 0x100 && at + 1 < bytes.size();
    unsigned joined = single ? JoinedLetter(table, code, static_cast<unsigned char>(bytes[at + 1])) : 0;
    // A two-byte character, or a base letter and its mark read as one.
    if (code >= 0x100 || joined != 0) ++at;
    out += Utf8Of(joined != 0 ? joined : letter);
  }
  return bytes.size();
}

const payload::CodePageTable& TableOf(unsigned number) { return *payload::FindCodePageTable(number); }

}  // namespace

bool IsSupportedCodePage(unsigned number) {
  return number == 874 || (number >= 1250 && number <= 1258) || text::IsDoubleBytePage(number);
}

CodePage::CodePage(unsigned number) : number_(number) {
  if (!IsSupportedCodePage(number)) {
    throw Error("code page " + std::to_string(number) + " is not a Windows ANSI code page vpack writes (" +
                kSupportedCodePages + ")");
  }
}

bool CodePage::IsDoubleByte() const { return text::IsDoubleBytePage(number_); }

size_t CodePage::NextCharacter(const std::string& bytes, size_t at) const {
  return at + text::CharLength(number_, bytes.c_str() + at);
}

size_t CodePage::FindSeparator(const std::string& bytes, size_t from) const {
  for (size_t at = from; at < bytes.size(); at = NextCharacter(bytes, at)) {
    if (bytes[at] == '\\') return at;
  }
  return std::string::npos;
}

size_t CodePage::LastSeparator(const std::string& bytes) const {
  size_t last = std::string::npos;
  for (size_t at = FindSeparator(bytes, 0); at != std::string::npos; at = FindSeparator(bytes, at + 1)) last = at;
  return last;
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
  for (size_t at = 0; at < utf8.size(); at += SequenceLength(static_cast<unsigned char>(utf8[at]))) {
    std::string bytes = BytesOf(TableOf(number_), CodePointAt(utf8, at));
    if (bytes.empty()) {
      char point[16];
      snprintf(point, sizeof(point), "U+%04X", CodePointAt(utf8, at));
      problem = "holds \"" + utf8.substr(at, SequenceLength(static_cast<unsigned char>(utf8[at]))) + "\" (" + point +
                "), which code page " + std::to_string(number_) + " cannot hold";
      return std::string();
    }
    out += bytes;
  }
  return out;
}

std::string CodePage::Folded(const std::string& bytes) const {
  std::string folded = bytes;
  for (size_t at = 0; at < folded.size(); at = NextCharacter(folded, at)) {
    folded[at] = static_cast<char>(TableOf(number_).upper[static_cast<unsigned char>(folded[at])]);
  }
  return folded;
}

std::string CodePage::ToUtf8(const std::string& bytes) const {
  std::string out;
  for (size_t at = 0; at < bytes.size();) {
    at = AppendUtf8(TableOf(number_), bytes, at, out);
    if (at < bytes.size()) {
      out += "\xEF\xBF\xBD";
      at = NextCharacter(bytes, at);
    }
  }
  return out;
}

}  // namespace vpack
