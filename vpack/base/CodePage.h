#pragma once
// The installer reads item names and text settings with Windows' ANSI
// functions, so payload text is in the publisher's Windows code page, not the
// manifest's UTF-8: the same bytes are the same letters only on a system with
// that code page. The payload does not record which one.
#include <string>

namespace vpack {

constexpr unsigned kDefaultCodePage = 1252;
// Read an installer's names in the code page it records (vpack writes the
// manifest's as the setting "CodePage").
constexpr unsigned kRecordedCodePage = 0;

// The Windows ANSI code pages: the single-byte 874 and 1250 to 1258 and the
// double-byte 932, 936, 949 and 950, converted by the format's own tables
// (payload/CodePageTables.h) on every system.
bool IsSupportedCodePage(unsigned number);
constexpr char kSupportedCodePages[] = "874, 932, 936, 949, 950, 1250 .. 1258";

class CodePage {
 public:
  // Throws Error for a code page vpack cannot write.
  explicit CodePage(unsigned number);

  unsigned Number() const { return number_; }
  // Whether a character may be two bytes, the second of them any of
  // 0x40..0xFE: '\' and ASCII letters among them, so every rule steps by
  // character, never by byte.
  bool IsDoubleByte() const;
  // Where the character after the one at at begins.
  size_t NextCharacter(const std::string& bytes, size_t at) const;
  // The first '\' from from on (a character's start) that is a character
  // of its own, or std::string::npos; and the last one.
  size_t FindSeparator(const std::string& bytes, size_t from) const;
  size_t LastSeparator(const std::string& bytes) const;
  // Text from the manifest in this code page. Empty problem when it
  // converts; otherwise why not: invalid UTF-8 or a character the code page
  // lacks, named.
  std::string FromUtf8(const std::string& utf8, std::string& problem) const;
  // Payload text for a terminal or JSON; bytes the code page leaves
  // undefined become U+FFFD, so the result is always valid UTF-8.
  std::string ToUtf8(const std::string& bytes) const;
  // Payload text with every letter of the code page in upper case, as
  // Windows compares file names: "caf\xE9" and "CAF\xC9" are one file in
  // 1252, though the installer, which folds only ASCII, sees two items. In a
  // double-byte page only the one-byte characters fold, never a second byte.
  std::string Folded(const std::string& bytes) const;

 private:
  unsigned number_;
};

// Where text stops being UTF-8, or std::string::npos when it is.
size_t InvalidUtf8At(const std::string& text);

}  // namespace vpack
