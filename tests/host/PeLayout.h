#pragma once
// An executable's layout and resources read back for tests, written apart
// from vpack's own reader so that the two cannot share a mistake.
#include <stdint.h>

#include <map>
#include <string>
#include <vector>

namespace testing_support {

struct PeResourceLeaf {
  uint32_t type;      // 0 for a named type
  std::string name;   // the number in decimal, or the text of a named entry
  uint32_t language;
  std::string data;
};

struct PeSectionView {
  std::string name;
  uint32_t rva, virtualSize, rawOffset, rawSize;
};

struct PeLayout {
  std::vector<std::string> problems;  // every rule the file breaks; empty when sound
  std::vector<PeSectionView> sections;
  std::vector<PeResourceLeaf> resources;
  uint64_t imageEnd = 0;   // end of the last section's data
  std::string relocations; // the bytes the base relocation directory names
};

// image: the executable's bytes without anything appended.
PeLayout ReadPeLayout(const std::string& image);

struct PeVersion {
  uint16_t file[4] = {};
  uint16_t product[4] = {};
  std::map<std::string, std::string> strings;  // UTF-8 values
  bool sound = false;
};
PeVersion ReadPeVersion(const std::string& versionResource);

}  // namespace testing_support
