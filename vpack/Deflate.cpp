#include "vpack/Deflate.h"

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

void Deflate::AppendZlib(const uint8_t* bytes, size_t size, packager::Bytes& out) {
  size_t head = out.size();
  out.resize(head + libdeflate_zlib_compress_bound(compressor_, size));
  size_t packed = libdeflate_zlib_compress(compressor_, bytes, size, out.data() + head, out.size() - head);
  // The bound is exact for libdeflate, so the stream always fits.
  out.resize(head + packed);
}

uint32_t Crc32Of(uint32_t crc, const uint8_t* bytes, size_t size) { return libdeflate_crc32(crc, bytes, size); }

}  // namespace vpack
