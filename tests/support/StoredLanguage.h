#pragma once
// A language an installer carries, read the way the installer's format is
// documented rather than by the product's own reader: the language number
// and flags, then each text as its number, its length and its UTF-8.
#include <stdint.h>

#include <map>
#include <string>

namespace testing_support {

struct StoredLanguageBlock {
  bool present = false;  // the installer holds a LANG item of that tag
  bool whole = false;    // its checksum holds and every length fits
  uint16_t id = 0;
  uint16_t flags = 0;
  std::map<int, std::string> texts;  // by the text's number
};

StoredLanguageBlock ReadStoredLanguage(const std::string& installer, const std::string& tag);

}  // namespace testing_support
