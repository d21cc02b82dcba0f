#include "vpack/write/DeflatePieces.h"

#include <zlib.h>

#include <libdeflate.h>

#include "vpack/base/Error.h"

namespace vpack {
namespace {

struct FinalBlock {
  uint64_t start = 0;  // bit offset of its header
  uint64_t end = 0;    // bit offset just past its end-of-block code
};

// Only a decoder knows where deflate blocks begin; zlib's stops at each
// block boundary when asked to.
FinalBlock FindFinalBlock(const uint8_t* blocks, size_t size) {
  z_stream stream{};
  if (inflateInit2(&stream, -15) != Z_OK) throw Error("cannot start zlib's inflater");
  stream.next_in = const_cast<uint8_t*>(blocks);
  stream.avail_in = static_cast<uInt>(size);
  static thread_local uint8_t scratch[1 << 16];
  FinalBlock found;
  for (;;) {
    stream.next_out = scratch;
    stream.avail_out = sizeof(scratch);
    int result = inflate(&stream, Z_BLOCK);
    if (result == Z_STREAM_END) break;
    if (result != Z_OK) {
      inflateEnd(&stream);
      throw Error("zlib does not read back a compressed piece");
    }
    // At a boundary (128) the next block's header is still to be read,
    // unless the block just ended was the last (64); the padding after that
    // one is dropped by the time the stream ends, so its end is taken here.
    uint64_t bit = stream.total_in * 8 - (stream.data_type & 7);
    if ((stream.data_type & 128) != 0) ((stream.data_type & 64) == 0 ? found.start : found.end) = bit;
  }
  inflateEnd(&stream);
  return found;
}

}  // namespace

uint32_t PieceCount(uint64_t fileSize) {
  if (fileSize <= kWholeFileLimit) return 1;
  return static_cast<uint32_t>((fileSize + kPieceSize - 1) / kPieceSize);
}

void AppendPiece(Deflate& deflate, const uint8_t* bytes, size_t size, bool last, packager::Bytes& out) {
  size_t head = out.size();
  Deflate::Packed packed = deflate.Raw(bytes, size);
  out.insert(out.end(), packed.bytes.get(), packed.bytes.get() + packed.size);
  if (last) return;
  FinalBlock final = FindFinalBlock(out.data() + head, out.size() - head);
  out[head + final.start / 8] &= static_cast<uint8_t>(~(1u << (final.start % 8)));
  // The empty stored block's three header bits, all zero, are the padding
  // after the end-of-block code when there are three; else a zero byte.
  if ((out.size() - head) * 8 - final.end < 3) out.push_back(0);
  for (uint8_t b : {0x00, 0x00, 0xFF, 0xFF}) out.push_back(b);
}

uint32_t CombineAdler32(uint32_t first, uint32_t second, uint64_t secondSize) {
  return static_cast<uint32_t>(adler32_combine(first, second, static_cast<z_off_t>(secondSize)));
}

uint32_t Adler32Of(const uint8_t* bytes, size_t size) { return libdeflate_adler32(1, bytes, size); }

}  // namespace vpack
