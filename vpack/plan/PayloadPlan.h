#pragma once
// The items of an installer in directory order, before any source is read:
// settings and lists are small and made at once, files are read and encoded
// only when they are written.
#include <string>
#include <vector>

#include "packager/PayloadBuilder.h"
#include "vpack/manifest/Manifest.h"

namespace vpack {

struct PlannedItem {
  std::string type;
  std::string name;
  packager::Bytes bytes;           // settings and list items
  const FileSpec* file = nullptr;  // a file item, read when written
};

// Settings, then the three lists (always, counts included), then the texts
// by number (the stub reads them all at its start), then the files in the
// manifest's sorted order. The items point into manifest.files.
std::vector<PlannedItem> PlanPayload(const Manifest& manifest);

// What the installation writes, in KiB as a disk allocates each file:
// below its folder, and its module's copy in the system or player folder
// (the screen saver's, the plug-in's; 0 for the other types). The stub asks
// the volumes for that room before it writes anything.
struct SpaceKiB {
  uint64_t folder;
  uint64_t module;
};
SpaceKiB SpaceNeededOf(const Manifest& manifest);

// Whether the item's bytes differ from its source's.
bool NeedsEncoding(const PlannedItem& item);

// The directory's entries for the items, their sizes and checksums 0 until
// the items are written.
std::vector<packager::DirectoryEntry> DirectoryOf(const std::vector<PlannedItem>& items);
// Bytes of marker, directory and header length for these items, which do
// not depend on the sizes and checksums.
uint64_t HeaderLength(const std::vector<PlannedItem>& items);

}  // namespace vpack
