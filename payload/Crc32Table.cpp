#include "payload/Crc32Table.h"

namespace payload {

void Crc32Table::Build() {
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t v = Reflect(i, 8) << 24;
    for (int bit = 0; bit < 8; ++bit) v = (v & 0x80000000u) ? (v << 1) ^ 0x04C11DB7u : (v << 1);
    table_[i] = Reflect(v, 32);
  }
}

uint32_t Crc32Table::Reflect(uint32_t value, int bits) const {
  uint32_t result = 0;
  for (int j = 0; j < bits; ++j) {
    if (value & (1u << j)) result |= 1u << (bits - 1 - j);
  }
  return result;
}

uint32_t Crc32Table::Compute(const void* bytes, uint32_t length) const {
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  uint32_t crc = 0xFFFFFFFFu;
  for (uint32_t i = 0; i < length; ++i) crc = (crc >> 8) ^ table_[(crc ^ p[i]) & 0xFF];
  return crc ^ 0xFFFFFFFFu;
}

}  // namespace payload
