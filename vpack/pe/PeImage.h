#pragma once
// The parts of a Windows executable's headers that rebuilding its resources
// touches, read from and written back into the file's bytes.
#include <stdint.h>

#include <string>
#include <vector>

#include "vpack/base/ByteReader.h"

namespace vpack {

struct PeSection {
  std::string name;
  uint32_t virtualAddress;
  uint32_t virtualSize;
  uint32_t rawOffset;
  uint32_t rawSize;
  size_t headerOffset;  // of this entry in the section table
};

struct PeDirectory {
  uint32_t rva;
  uint32_t size;
};

// Indexes into the data directory.
constexpr uint32_t kResourceDirectory = 2;
constexpr uint32_t kSecurityDirectory = 4;
constexpr uint32_t kRelocationDirectory = 5;

struct PeImage {
  uint32_t sectionAlignment;
  uint32_t fileAlignment;
  size_t optionalHeader;  // file offset of the optional header
  size_t directories;     // file offset of the data directory
  uint32_t directoryCount;
  std::vector<PeSection> sections;  // in table order, which is address order

  PeDirectory Directory(const Bytes& file, uint32_t index) const;
  // File offset of the image checksum.
  size_t ChecksumAt() const;
  // The section whose addresses hold rva, or -1.
  int SectionAt(uint32_t rva) const;
  // Where the last section's data ends: what Windows maps of the file.
  uint64_t ImageEnd() const;
};

// Throws Error ("... is not a Windows executable: ...") on anything a loader
// would refuse or this code cannot rewrite.
PeImage ReadPeImage(const Bytes& file);

// The resource section's data, as the loader maps it (zero-filled past the
// file's part), and the section's index; throws Error when the file has no
// resources or shares their section with other data.
int ResourceSectionIndex(const Bytes& file, const PeImage& image);
Bytes SectionData(const Bytes& file, const PeSection& section);

// The file with the resource section's contents replaced by resources (built
// for the section's unchanged address). Sections after it, which may only be
// the base relocations, move with their data directory entries; the image
// size, initialised-data size and header checksum follow. padding adds that
// many zero bytes to the section. Throws Error when the layout does not allow
// the move.
Bytes ReplaceResources(const Bytes& file, const PeImage& image, const Bytes& resources,
                            uint32_t padding);

// The header checksum as the Windows image loader computes it, of size bytes
// with the 4 bytes at checksumAt counted as zero.
uint32_t PeChecksum(const uint8_t* bytes, size_t size, size_t checksumAt);
// The same over a file read in pieces: the running sum of the piece at file
// offset base (even), then the total once every piece is in.
uint64_t PeChecksumAdd(uint64_t sum, const uint8_t* bytes, size_t size, uint64_t base, uint64_t checksumAt);
uint32_t PeChecksumFinish(uint64_t sum, uint64_t size);

}  // namespace vpack
