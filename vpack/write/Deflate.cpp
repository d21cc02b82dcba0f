#include "vpack/write/Deflate.h"

#include <libdeflate.h>

#include <new>

namespace vpack {
namespace {

// The strongest of zlib's levels; libdeflate's own levels above it cost much
// more time for little.
constexpr int kLevel = 9;

}  // namespace

Deflate::Deflate() : compressor_(libdeflate_alloc_compressor(kLevel)) {
  if (compressor_ == nullptr) throw std::bad_alloc();
}

Deflate::~Deflate() { libdeflate_free_compressor(compressor_); }

namespace {

// Room for the worst case, left uninitialised: the pages a small stream
// never reaches are never made resident, as a zero-filled vector's would be.
// The bound always holds the stream, so the size is never 0.
template <typename Bound, typename Compress>
Deflate::Packed Pack(libdeflate_compressor* compressor, const uint8_t* bytes, size_t size, Bound bound,
                     Compress compress) {
  Deflate::Packed packed;
  size_t room = bound(compressor, size);
  packed.bytes.reset(new uint8_t[room]);
  packed.size = compress(compressor, bytes, size, packed.bytes.get(), room);
  return packed;
}

}  // namespace

Deflate::Packed Deflate::Zlib(const uint8_t* bytes, size_t size) {
  return Pack(compressor_, bytes, size, libdeflate_zlib_compress_bound, libdeflate_zlib_compress);
}

Deflate::Packed Deflate::Raw(const uint8_t* bytes, size_t size) {
  return Pack(compressor_, bytes, size, libdeflate_deflate_compress_bound, libdeflate_deflate_compress);
}

uint32_t Crc32Of(uint32_t crc, const uint8_t* bytes, size_t size) { return libdeflate_crc32(crc, bytes, size); }

}  // namespace vpack
