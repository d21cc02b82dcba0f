#pragma once
// What an installation writes, recorded by vpack so that the stub can
// compare it with the free space of its targets before it writes anything:
// an item of two 32-bit numbers, little-endian, of KiB: what goes below the
// installation (or working) folder, and what goes into the system or
// player folder (the screen saver's or plug-in's copy). Each file counts as
// a disk allocates it, in whole clusters. An installer without the item
// (vpack 1.3's) installs unchecked.
#include <stdint.h>

namespace payload {

inline constexpr char kSpaceNeededItem[] = "SpaceNeeded";
constexpr uint32_t kSpaceNeededSize = 8;
enum SpacePart : uint32_t { kSpaceInFolder = 0, kSpaceForModule = 1 };

// NTFS's cluster on every volume Windows formats below 16 TB.
constexpr uint64_t kClusterBytes = 4096;

inline uint64_t AllocatedBytes(uint64_t size) { return (size + kClusterBytes - 1) / kClusterBytes * kClusterBytes; }

}  // namespace payload
