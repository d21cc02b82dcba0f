#include "payload/Crc32Table.h"

#include <string.h>

namespace payload {

void Crc32Table::Build() {
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t v = Reflect(i, 8) << 24;
    for (int bit = 0; bit < 8; ++bit) v = (v & 0x80000000u) ? (v << 1) ^ 0x04C11DB7u : (v << 1);
    table_[0][i] = Reflect(v, 32);
  }
  // Table k: the CRC of a byte followed by k zero bytes.
  for (int k = 1; k < kSlices; ++k) {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t v = table_[k - 1][i];
      table_[k][i] = (v >> 8) ^ table_[0][v & 0xFF];
    }
  }
}

uint32_t Crc32Table::Reflect(uint32_t value, int bits) const {
  uint32_t result = 0;
  for (int j = 0; j < bits; ++j) {
    if (value & (1u << j)) result |= 1u << (bits - 1 - j);
  }
  return result;
}

// Both targets are little-endian, so four bytes loaded as one word hold the
// first byte in the low bits, as the byte-wise form takes them.
uint32_t Crc32Table::Compute(const void* bytes, uint32_t length, uint32_t previous) const {
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  uint32_t crc = previous ^ 0xFFFFFFFFu;
  for (; length >= 8; length -= 8, p += 8) {
    uint32_t low, high;
    memcpy(&low, p, 4);
    memcpy(&high, p + 4, 4);
    low ^= crc;
    crc = table_[7][low & 0xFF] ^ table_[6][(low >> 8) & 0xFF] ^ table_[5][(low >> 16) & 0xFF] ^
          table_[4][low >> 24] ^ table_[3][high & 0xFF] ^ table_[2][(high >> 8) & 0xFF] ^
          table_[1][(high >> 16) & 0xFF] ^ table_[0][high >> 24];
  }
  for (; length > 0; --length) crc = (crc >> 8) ^ table_[0][(crc ^ *p++) & 0xFF];
  return crc ^ 0xFFFFFFFFu;
}

}  // namespace payload
