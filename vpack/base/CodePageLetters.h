#pragma once
// One character of a code page and its Unicode letter, both ways, by the
// format's tables (payload/CodePageTables.h). A code is the byte of a
// one-byte character or lead byte * 256 + second byte of a two-byte one.
#include "payload/CodePageTables.h"

namespace vpack {

// The letter of a code, or 0 where the page defines none. Below 0x80 every
// page is ASCII.
unsigned LetterOfCode(const payload::CodePageTable& table, unsigned code);

// The code a letter is written as, as Windows writes it where the page holds
// it twice; 0 where the page cannot hold it as one character.
unsigned CodeOfLetter(const payload::CodePageTable& table, unsigned letter);

}  // namespace vpack
