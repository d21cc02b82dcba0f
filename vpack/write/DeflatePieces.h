#pragma once
// A large file is compressed in pieces, each on its own, so that neither
// its whole source nor its whole output is ever held and its pieces can be
// compressed on several cores. The pieces still make one zlib stream, as
// the installer and the engine inflate each item in one go: libdeflate only
// makes whole streams, whose last block is marked final, so a piece that is
// not the last has that mark cleared and is closed with an empty stored
// block, which ends on a byte boundary for the next piece's blocks to
// follow. Each piece starts without the previous one's window, so the
// stream depends on the piece size, never on the number of threads.
#include <stdint.h>

#include "packager/PayloadBuilder.h"
#include "vpack/write/Deflate.h"

namespace vpack {

// Files up to this size are compressed whole, as one libdeflate stream.
constexpr uint64_t kWholeFileLimit = 64ull << 20;
constexpr uint64_t kPieceSize = 16ull << 20;

// 1 for a file compressed whole.
uint32_t PieceCount(uint64_t fileSize);

// The zlib header libdeflate writes at this level, for a stream of pieces.
constexpr uint8_t kZlibHeader[2] = {0x78, 0xDA};

// Appends the piece's deflate blocks; unless last, they end open for the
// next piece's. Throws Error should zlib not read libdeflate's blocks back.
void AppendPiece(Deflate& deflate, const uint8_t* bytes, size_t size, bool last, packager::Bytes& out);

// The zlib trailer's checksum of the whole data from those of its pieces.
uint32_t CombineAdler32(uint32_t first, uint32_t second, uint64_t secondSize);
uint32_t Adler32Of(const uint8_t* bytes, size_t size);

}  // namespace vpack
