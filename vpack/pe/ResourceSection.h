#pragma once
// A Windows executable's resources as a flat list, read from the resource
// section's data and written back as a new section, so that entries can be
// replaced without knowing anything else about the image.
#include <stdint.h>

#include <string>
#include <vector>

#include "vpack/base/ByteReader.h"

namespace vpack {

// A resource type or name: a number, or a text when name is not empty.
struct ResourceId {
  std::u16string name;
  uint32_t id = 0;
};
bool operator<(const ResourceId& a, const ResourceId& b);
bool operator==(const ResourceId& a, const ResourceId& b);

struct Resource {
  ResourceId type;
  ResourceId name;
  uint32_t language = 0;
  uint32_t codePage = 0;
  Bytes data;
};

constexpr uint32_t kIconResource = 3;
constexpr uint32_t kGroupIconResource = 14;
constexpr uint32_t kVersionResource = 16;
constexpr uint32_t kManifestResource = 24;
constexpr uint32_t kEnglishUs = 0x0409;

// sectionRva is the address the section is mapped at: data entries point by
// address. Throws Error on a tree that leaves the section or nests too deep.
std::vector<Resource> ReadResources(const Bytes& section, uint32_t sectionRva);

// The section's bytes for the same address. The tree is in the order that
// lookups rely on (names before numbers, each ascending), and the same list
// gives the same bytes: no time stamps.
Bytes BuildResources(const std::vector<Resource>& resources, uint32_t sectionRva);

}  // namespace vpack
