#include "vpack/pe/PeImage.h"

namespace vpack {
namespace {

constexpr uint16_t kPe32 = 0x10B;
constexpr uint16_t kPe32Plus = 0x20B;
constexpr size_t kSectionEntry = 40;

// Optional header fields at the same place in both forms.
constexpr size_t kInitializedDataField = 8;
constexpr size_t kSectionAlignmentField = 32;
constexpr size_t kImageSizeField = 56;
constexpr size_t kChecksumField = 64;

uint64_t AlignUp(uint64_t value, uint32_t alignment) { return (value + alignment - 1) / alignment * alignment; }

bool PowerOfTwo(uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

std::vector<PeSection> ReadSections(const ByteReader& in, size_t table, uint16_t count) {
  std::vector<PeSection> sections;
  for (uint16_t i = 0; i < count; ++i) {
    size_t at = table + i * kSectionEntry;
    Bytes name = in.Slice(at, 8);
    PeSection section{std::string(name.begin(), name.end()), in.U32(at + 12), in.U32(at + 8), in.U32(at + 20),
                      in.U32(at + 16), at};
    section.name = section.name.substr(0, section.name.find('\0'));
    if (section.rawSize != 0 && !in.Holds(section.rawOffset, section.rawSize)) {
      in.Fail("has section " + section.name + " reaching past the file's end");
    }
    if (!sections.empty() && section.virtualAddress < sections.back().virtualAddress) {
      in.Fail("has its sections out of address order");
    }
    sections.push_back(section);
  }
  return sections;
}

}  // namespace

PeDirectory PeImage::Directory(const Bytes& file, uint32_t index) const {
  if (index >= directoryCount) return {0, 0};
  ByteReader in(file, "executable");
  return {in.U32(directories + index * 8), in.U32(directories + index * 8 + 4)};
}

size_t PeImage::ChecksumAt() const { return optionalHeader + kChecksumField; }

int PeImage::SectionAt(uint32_t rva) const {
  for (size_t i = 0; i < sections.size(); ++i) {
    const PeSection& s = sections[i];
    uint32_t extent = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
    if (rva >= s.virtualAddress && rva - s.virtualAddress < extent) return static_cast<int>(i);
  }
  return -1;
}

uint64_t PeImage::ImageEnd() const {
  uint64_t end = 0;
  for (const PeSection& s : sections) {
    if (s.rawSize != 0 && uint64_t{s.rawOffset} + s.rawSize > end) end = uint64_t{s.rawOffset} + s.rawSize;
  }
  return end;
}

PeImage ReadPeImage(const Bytes& file) {
  ByteReader in(file, "is not a Windows executable: it");
  if (!in.Holds(0, 64) || file[0] != 'M' || file[1] != 'Z') in.Fail("has no MZ header");
  uint32_t pe = in.U32(0x3C);
  if (in.U32(pe) != 0x00004550) in.Fail("has no PE signature");
  uint16_t sectionCount = in.U16(pe + 6);
  uint16_t optionalSize = in.U16(pe + 20);
  PeImage image{};
  image.optionalHeader = pe + 24;
  uint16_t magic = in.U16(image.optionalHeader);
  if (magic != kPe32 && magic != kPe32Plus) in.Fail("has an unknown optional header");
  size_t countField = image.optionalHeader + (magic == kPe32 ? 92 : 108);
  image.directories = countField + 4;
  image.directoryCount = in.U32(countField);
  if (image.directories + uint64_t{image.directoryCount} * 8 > image.optionalHeader + optionalSize) {
    in.Fail("has more data directories than its optional header holds");
  }
  image.sectionAlignment = in.U32(image.optionalHeader + kSectionAlignmentField);
  image.fileAlignment = in.U32(image.optionalHeader + kSectionAlignmentField + 4);
  if (!PowerOfTwo(image.sectionAlignment) || !PowerOfTwo(image.fileAlignment)) in.Fail("has a bad alignment");
  image.sections = ReadSections(in, image.optionalHeader + optionalSize, sectionCount);
  return image;
}

int ResourceSectionIndex(const Bytes& file, const PeImage& image) {
  PeDirectory resources = image.Directory(file, kResourceDirectory);
  int index = resources.rva == 0 ? -1 : image.SectionAt(resources.rva);
  if (index < 0) throw Error("has no resource section");
  const PeSection& section = image.sections[index];
  bool alone = resources.rva == section.virtualAddress;
  for (uint32_t d = 0; d < image.directoryCount; ++d) {
    PeDirectory other = image.Directory(file, d);
    if (d != kResourceDirectory && other.rva != 0 && image.SectionAt(other.rva) == index) alone = false;
  }
  if (!alone) throw Error("shares its resource section with other data");
  return index;
}

Bytes SectionData(const Bytes& file, const PeSection& section) {
  // The part past the file's bytes is zeros that nothing is read from: a
  // section stating more than the file holds is damage, not worth gigabytes.
  if (section.virtualSize > file.size()) {
    throw Error("has section " + section.name + " stating " + std::to_string(section.virtualSize) +
                " bytes, more than the file's " + std::to_string(file.size()));
  }
  Bytes data(section.virtualSize, 0);
  uint32_t stored = section.rawSize < section.virtualSize ? section.rawSize : section.virtualSize;
  std::copy(file.begin() + section.rawOffset, file.begin() + section.rawOffset + stored, data.begin());
  return data;
}

namespace {

// Only the base relocations can follow the resources: nothing refers to them
// but their data directory entry, which moves with them.
void CheckMovable(const Bytes& file, const PeImage& image, int resources) {
  if (image.Directory(file, kSecurityDirectory).rva != 0) {
    throw Error("is signed already; sign the installer after packing instead");
  }
  if (file.size() > image.ImageEnd()) throw Error("has data after its last section");
  PeDirectory relocations = image.Directory(file, kRelocationDirectory);
  for (size_t i = resources + 1; i < image.sections.size(); ++i) {
    if (relocations.rva == 0 || image.SectionAt(relocations.rva) != static_cast<int>(i) ||
        image.sections[i].rawSize == 0) {
      throw Error("has section " + image.sections[i].name + " after its resources, which cannot be moved");
    }
  }
}

void MoveDirectories(Bytes& out, const Bytes& file, const PeImage& image, const PeSection& from,
                     uint32_t to) {
  for (uint32_t d = 0; d < image.directoryCount; ++d) {
    PeDirectory entry = image.Directory(file, d);
    if (entry.rva != 0 && image.SectionAt(entry.rva) == image.SectionAt(from.virtualAddress)) {
      Put32(out, image.directories + d * 8, entry.rva - from.virtualAddress + to);
    }
  }
}

}  // namespace

Bytes ReplaceResources(const Bytes& file, const PeImage& image, const Bytes& resources,
                            uint32_t padding) {
  int index = ResourceSectionIndex(file, image);
  CheckMovable(file, image, index);
  const PeSection& old = image.sections[index];
  Bytes out(file.begin(), file.begin() + old.rawOffset);
  uint32_t virtualSize = static_cast<uint32_t>(resources.size()) + padding;
  out.insert(out.end(), resources.begin(), resources.end());
  out.resize(AlignUp(out.size() + padding, image.fileAlignment), 0);
  uint32_t rawSize = static_cast<uint32_t>(out.size() - old.rawOffset);
  Put32(out, old.headerOffset + 8, virtualSize);
  Put32(out, old.headerOffset + 16, rawSize);
  Put32(out, image.directories + kResourceDirectory * 8 + 4, static_cast<uint32_t>(resources.size()));
  uint64_t next = AlignUp(uint64_t{old.virtualAddress} + virtualSize, image.sectionAlignment);
  for (size_t i = index + 1; i < image.sections.size(); ++i) {
    const PeSection& moving = image.sections[i];
    if (next > 0xFFFFFFFFu) throw Error("grows beyond the 32-bit address range");
    Put32(out, moving.headerOffset + 12, static_cast<uint32_t>(next));
    Put32(out, moving.headerOffset + 20, static_cast<uint32_t>(out.size()));
    MoveDirectories(out, file, image, moving, static_cast<uint32_t>(next));
    out.insert(out.end(), file.begin() + moving.rawOffset, file.begin() + moving.rawOffset + moving.rawSize);
    next = AlignUp(next + moving.virtualSize, image.sectionAlignment);
  }
  ByteReader in(file, "executable");
  size_t initialized = image.optionalHeader + kInitializedDataField;
  Put32(out, initialized, in.U32(initialized) - old.rawSize + rawSize);
  Put32(out, image.optionalHeader + kImageSizeField, static_cast<uint32_t>(next));
  Put32(out, image.ChecksumAt(), PeChecksum(out.data(), out.size(), image.ChecksumAt()));
  return out;
}

// 16-bit little-endian words, the carry folded back in.
uint64_t PeChecksumAdd(uint64_t sum, const uint8_t* bytes, size_t size, uint64_t base, uint64_t checksumAt) {
  auto byteAt = [&](size_t i) -> uint32_t {
    return i >= size || (base + i >= checksumAt && base + i < checksumAt + 4) ? 0 : bytes[i];
  };
  for (size_t i = 0; i < size; i += 2) {
    sum += byteAt(i) | (byteAt(i + 1) << 8);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return sum;
}

uint32_t PeChecksumFinish(uint64_t sum, uint64_t size) {
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + size);
}

uint32_t PeChecksum(const uint8_t* bytes, size_t size, size_t checksumAt) {
  return PeChecksumFinish(PeChecksumAdd(0, bytes, size, 0, checksumAt), size);
}

}  // namespace vpack
