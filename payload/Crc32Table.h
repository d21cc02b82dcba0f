#pragma once
#include <stdint.h>

namespace payload {

// CRC-32 as zlib computes it (reflected 0x04C11DB7, initial and final
// complement), from a table built on demand.
class Crc32Table {
 public:
  virtual ~Crc32Table() {}

  void Build();
  uint32_t Reflect(uint32_t value, int bits) const;
  uint32_t Compute(const void* bytes, uint32_t length) const;
  uint32_t At(uint8_t index) const { return table_[index]; }

 private:
  uint32_t table_[256] = {};
};

}  // namespace payload
