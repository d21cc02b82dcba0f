#include "standins/engine/EngineBlock.h"

#include <string.h>
#include <zlib.h>


namespace standin {
namespace {

// Deflate cannot expand a byte of stream into more than this many bytes; a
// stated size beyond it is a lie and would only make us allocate for it.
constexpr uint64_t kMaxInflateRatio = 1032;

uint32_t GetU32(const uint8_t* in) {
  return in[0] | (in[1] << 8) | (in[2] << 16) | (static_cast<uint32_t>(in[3]) << 24);
}

}  // namespace

bool HasEngineBlockTag(const uint8_t* data, size_t size) {
  return data != nullptr && size >= kEngineBlockHeadSize && memcmp(data, kEngineBlockTag, 4) == 0;
}

bool EngineBlockSize(const uint8_t* data, size_t size, uint32_t* decodedSize) {
  if (!HasEngineBlockTag(data, size)) return false;
  uint32_t decoded = GetU32(data + 4);
  uint64_t packed = size - kEngineBlockHeadSize;
  if (packed > UINT32_MAX || decoded > packed * kMaxInflateRatio) return false;
  *decodedSize = decoded;
  return true;
}

bool InflateEngineBlock(const uint8_t* data, size_t size, uint8_t* out, uint32_t decodedSize) {
  uLongf got = decodedSize;
  int result = uncompress(out, &got, data + kEngineBlockHeadSize, static_cast<uLong>(size - kEngineBlockHeadSize));
  return result == Z_OK && got == decodedSize;
}

}  // namespace standin
