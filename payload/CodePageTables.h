#pragma once
// The Windows single-byte code pages that payload text is written in (874,
// 1250 to 1258), as tables: vpack on Linux and vpack.exe on Windows convert
// names and settings by these, so both write and show the same bytes. Made
// from glibc's iconv by scripts/make-code-page-tables.py.

namespace payload {

// A letter the page holds as a base letter followed by a combining mark
// ("ế" is "ê" and an acute in 1258), and which ways: written as the two
// bytes, read back from them as the one letter, or both. Mark 0: a letter
// written as the base byte alone, a mark of the same meaning as the byte's
// own (U+0340 is written as U+0300).
enum CombinedWays : unsigned char { kWrittenSplit = 1, kReadJoined = 2 };
struct CombinedLetter {
  unsigned short letter;
  unsigned char base;
  unsigned char mark;
  unsigned char ways;
};

struct CodePageTable {
  unsigned number;
  // The Unicode letter of each byte; 0 where the page defines none.
  const unsigned short* letters;
  // Each byte with its letter in upper case, as Windows compares file names;
  // the byte itself where the page holds no single upper case of it.
  const unsigned char* upper;
  const CombinedLetter* combined;
  unsigned combinedCount;
};

// Null for a page that is not one of these.
const CodePageTable* FindCodePageTable(unsigned number);

}  // namespace payload
