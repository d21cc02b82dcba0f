#include "standins/engine/EngineBlock.h"

#include <string.h>
#include <zlib.h>

#include <new>

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

bool DecodeEngineBlock(const uint8_t* data, size_t size, std::unique_ptr<uint8_t[]>* out, uint32_t* outSize) {
  if (!HasEngineBlockTag(data, size)) return false;
  uint32_t decoded = GetU32(data + 4);
  uint64_t packed = size - kEngineBlockHeadSize;
  if (packed > UINT32_MAX || decoded > packed * kMaxInflateRatio) return false;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[decoded == 0 ? 1 : decoded]);
  if (!buffer) return false;
  uLongf got = decoded;
  int result = uncompress(buffer.get(), &got, data + kEngineBlockHeadSize, static_cast<uLong>(packed));
  if (result != Z_OK || got != decoded) return false;
  *out = std::move(buffer);
  *outSize = decoded;
  return true;
}

}  // namespace standin
