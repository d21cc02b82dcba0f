#pragma once
// Inflates a zlib stream (header, deflate data, Adler-32) into a buffer of
// known size: what the stub needs of zlib, in a fraction of its code.
#include <stddef.h>
#include <stdint.h>

#include "payload/LittleEndian.h"

namespace payload {

// True when the whole stream decodes, fits in outSize bytes and its
// checksum matches; *written is the number of bytes produced. Never reads or
// writes outside the two buffers, whatever the input.
bool InflateZlib(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize, size_t* written);

// The stream's bytes, a piece at a time; false when there are no more.
class InflateSource {
 public:
  virtual bool Next(const uint8_t** bytes, size_t* count) = 0;

 protected:
  ~InflateSource() {}
};

// Where the output goes as the window fills; false stops the inflation.
class InflateSink {
 public:
  virtual bool Take(const uint8_t* bytes, size_t count) = 0;

 protected:
  ~InflateSink() {}
};

// The same for a stream of any size: pulled from the source, passed to the
// sink through the window (at least 64 KiB), at most limit bytes. True when
// the whole stream decodes and its checksum matches; *written is what the
// sink was given.
bool InflateZlibStream(InflateSource& source, InflateSink& sink, uint8_t* window, size_t windowSize, uint32_t limit,
                       uint32_t* written);

// A zlib item is the stream followed by its unpacked size, 4 bytes
// little-endian. False when there is no room for the size, or when it claims
// more than deflate can give from the stream (at most 1032 to 1): that is
// damage, and not worth an allocation of up to 4 GiB to find out.
// Inline: the stub has one caller and no room to spare.
inline bool ZlibItemSize(const uint8_t* item, uint32_t itemSize, uint32_t* unpacked) {
  constexpr uint32_t kMaxDeflateRatio = 1032;
  if (item == nullptr || itemSize < 4) return false;
  *unpacked = ReadLittleEndian32(item + itemSize - 4);
  return *unpacked / kMaxDeflateRatio <= itemSize - 4;
}

}  // namespace payload
