#pragma once
// Compression for the items the installer inflates, with libdeflate: its
// zlib streams are standard, smaller than zlib's at the same level and made
// about three times as fast. One Deflate per thread.
#include <stdint.h>

#include <memory>

#include "packager/PayloadBuilder.h"

struct libdeflate_compressor;

namespace vpack {

class Deflate {
 public:
  Deflate();
  ~Deflate();
  Deflate(const Deflate&) = delete;
  Deflate& operator=(const Deflate&) = delete;

  // Compressed bytes in a buffer of the worst case's size, of which only
  // the pages written are resident; the caller can free the source before
  // copying them out.
  struct Packed {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
  };
  // A zlib stream (RFC 1950) of the bytes.
  Packed Zlib(const uint8_t* bytes, size_t size);
  // Raw deflate blocks (RFC 1951), the last one marked final.
  Packed Raw(const uint8_t* bytes, size_t size);

 private:
  libdeflate_compressor* compressor_;
};

// CRC-32 as zlib and the installer compute it, continued from crc (0 to start).
uint32_t Crc32Of(uint32_t crc, const uint8_t* bytes, size_t size);

}  // namespace vpack
