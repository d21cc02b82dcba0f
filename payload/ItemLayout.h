#pragma once
// The two packed item layouts, both ways: the packager writes an item
// through these and the stub, verify and extract read it through them.
//   zlib item:          the zlib stream, then the unpacked size;
//   engine-format item: the engine's tag, the decoded size, then the zlib
//                       stream (the engine decodes it, the stub copies it).
// Sizes are 4 bytes little-endian. Inline: the stub has no room to spare.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "payload/EngineFiles.h"
#include "payload/LittleEndian.h"

namespace payload {

constexpr uint32_t kZlibItemTrailerSize = 4;
constexpr uint32_t kEngineTagSize = 4;
constexpr uint32_t kEngineItemHeadSize = kEngineTagSize + 4;

inline void PutZlibItemTrailer(uint32_t unpackedSize, uint8_t trailer[kZlibItemTrailerSize]) {
  PutLittleEndian32(trailer, unpackedSize);
}

// The size a zlib item states, from its last kZlibItemTrailerSize bytes.
inline uint32_t ZlibItemStatedSize(const uint8_t* trailer) { return ReadLittleEndian32(trailer); }

// False when there is no room for the size, or when it claims more than
// deflate can give from the stream (at most 1032 to 1): that is damage, and
// not worth an allocation of up to 4 GiB to find out.
inline bool ZlibItemSize(const uint8_t* item, uint32_t itemSize, uint32_t* unpacked) {
  constexpr uint32_t kMaxDeflateRatio = 1032;
  if (item == nullptr || itemSize < kZlibItemTrailerSize) return false;
  *unpacked = ZlibItemStatedSize(item + itemSize - kZlibItemTrailerSize);
  return *unpacked / kMaxDeflateRatio <= itemSize - kZlibItemTrailerSize;
}

inline void PutEngineItemHead(uint32_t decodedSize, uint8_t head[kEngineItemHeadSize]) {
  memcpy(head, kEngineTag, kEngineTagSize);
  PutLittleEndian32(head + kEngineTagSize, decodedSize);
}

// Whether an item's first size bytes begin with the engine's tag.
inline bool HasEngineTag(const uint8_t* bytes, size_t size) {
  return size >= kEngineTagSize && memcmp(bytes, kEngineTag, kEngineTagSize) == 0;
}

// The decoded size a head that has the tag states.
inline uint32_t EngineItemStatedSize(const uint8_t head[kEngineItemHeadSize]) {
  return ReadLittleEndian32(head + kEngineTagSize);
}

}  // namespace payload
