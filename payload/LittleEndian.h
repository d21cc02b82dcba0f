#pragma once
// Every number in a payload and in an item is stored little-endian,
// whatever the byte order of the machine that reads it.
#include <stdint.h>

namespace payload {

inline uint32_t ReadLittleEndian32(const uint8_t* bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

inline void PutLittleEndian32(uint8_t* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace payload
