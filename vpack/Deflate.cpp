#include "vpack/Deflate.h"

#include <libdeflate.h>

#include <memory>
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

void Deflate::AppendZlib(const uint8_t* bytes, size_t size, packager::Bytes& out) {
  // Room for the worst case, left uninitialised: the pages a small stream
  // never reaches are never made resident, as a zero-filled vector's would be.
  size_t bound = libdeflate_zlib_compress_bound(compressor_, size);
  std::unique_ptr<uint8_t[]> room(new uint8_t[bound]);
  // The bound always holds the stream, so packed is never 0.
  size_t packed = libdeflate_zlib_compress(compressor_, bytes, size, room.get(), bound);
  out.insert(out.end(), room.get(), room.get() + packed);
}

uint32_t Crc32Of(uint32_t crc, const uint8_t* bytes, size_t size) { return libdeflate_crc32(crc, bytes, size); }

}  // namespace vpack
