// Large files compressed in pieces: the pieces must inflate as one stream,
// whatever blocks libdeflate ended each piece with.
#include <gtest/gtest.h>

#include <random>

#include "packager/PayloadBuilder.h"
#include "vpack/write/Deflate.h"
#include "vpack/write/DeflatePieces.h"

namespace {

// Random bytes end pieces in stored blocks, text in Huffman-coded ones, and
// the piece sizes move where the last block ends within its byte.
TEST(DeflatePieces, PiecesOfAnyData_InflateAsOneStream) {
  std::mt19937 random(7);
  packager::Bytes plain;
  for (int run = 0; run < 24; ++run) {
    size_t length = 1000 + random() % 60000;
    for (size_t i = 0; i < length; ++i) {
      plain.push_back(run % 3 == 0 ? static_cast<uint8_t>(random()) : "harbour quay tide "[i % 18]);
    }
  }
  vpack::Deflate deflate;
  for (size_t pieceSize : {size_t(4093), size_t(65536), size_t(100003)}) {
    packager::Bytes stream(vpack::kZlibHeader, vpack::kZlibHeader + 2);
    uint32_t adler = 1;
    for (size_t at = 0; at < plain.size(); at += pieceSize) {
      size_t size = std::min(pieceSize, plain.size() - at);
      vpack::AppendPiece(deflate, plain.data() + at, size, at + size == plain.size(), stream);
      adler = at == 0 ? vpack::Adler32Of(plain.data(), size)
                      : vpack::CombineAdler32(adler, vpack::Adler32Of(plain.data() + at, size), size);
    }
    for (int shift : {24, 16, 8, 0}) stream.push_back(static_cast<uint8_t>(adler >> shift));
    packager::PutU32(stream, static_cast<uint32_t>(plain.size()));  // as the installer stores it
    packager::Bytes unpacked;
    ASSERT_TRUE(packager::ZlibUnpack(stream, &unpacked)) << pieceSize;
    EXPECT_TRUE(unpacked == plain) << pieceSize;
  }
}

}  // namespace
