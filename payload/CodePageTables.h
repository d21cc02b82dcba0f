#pragma once
// The Windows code pages that payload text is written in (874, 1250 to 1258,
// and the double-byte 932, 936, 949 and 950), as tables: vpack on Linux and
// vpack.exe on Windows convert names and settings by these, so both write and
// show the same bytes. Made from glibc's iconv by
// scripts/make-code-page-tables.py.

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

// Two-byte characters of consecutive codes (lead byte * 256 + second byte).
// Their letters follow on from first too, or, when listed, are the page's
// listed letters from index first on: most of the CJK blocks are in Unicode's
// order, but not all, and flat tables would be four times 48 KiB.
struct DoubleByteRun {
  unsigned short code;
  unsigned short first;
  unsigned char count;
  unsigned char listed;
};
// A letter not written as the first code that reads as it: the page holds it
// more than once and Windows writes another of them (code), or it is read
// but never written (code 0), as no conversion writes it back so.
struct WrittenAs {
  unsigned short letter;
  unsigned short code;
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
  // The two-byte characters, sorted by code; none in a single-byte page.
  const DoubleByteRun* runs;
  unsigned runCount;
  const unsigned short* listed;
  const WrittenAs* writtenAs;
  unsigned writtenAsCount;
};

// Null for a page that is not one of these.
const CodePageTable* FindCodePageTable(unsigned number);

}  // namespace payload
