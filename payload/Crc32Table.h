#pragma once
#include <stdint.h>

namespace payload {

// CRC-32 as zlib computes it (reflected 0x04C11DB7, initial and final
// complement), from tables built on demand. The first table is the classic
// one; the other seven let Compute take eight bytes a step (slicing by
// eight), several times faster over the megabytes of a file item.
class Crc32Table {
 public:
  void Build();
  // previous: the CRC of the bytes before these, for an item read in pieces.
  uint32_t Compute(const void* bytes, uint32_t length, uint32_t previous = 0) const;

 private:
  uint32_t Reflect(uint32_t value, int bits) const;

  static constexpr int kSlices = 8;
  uint32_t table_[kSlices][256] = {};
};

}  // namespace payload
