#pragma once
// Chunked record files, as the stand-in engine's saver writes them and the
// tests read them back:
//   file:  "VCHK", version (u32 LE, 1), then chunks until the end;
//   chunk: tag (4 bytes, zero padded), declared size (u32 LE),
//          data length (u32 LE), data bytes.
// The declared size and the data length travel separately so that a reader
// can see both what the writer announced and what it actually wrote.
#include <stddef.h>
#include <stdint.h>

#include <array>
#include <string>
#include <vector>

namespace chunks {

constexpr char kFileTag[4] = {'V', 'C', 'H', 'K'};
constexpr uint32_t kFileVersion = 1;
constexpr size_t kFileHeaderSize = 8;
constexpr size_t kChunkHeadSize = 12;
constexpr size_t kTagSize = 4;

using ChunkTag = std::array<char, kTagSize>;

struct Chunk {
  std::string tag;  // without the zero padding
  uint32_t declaredSize = 0;
  std::vector<uint8_t> data;
};

// At most four characters of the text, zero padded; all zero for null.
ChunkTag MakeChunkTag(const char* text);
std::string ChunkTagText(const ChunkTag& tag);

void EncodeFileHeader(uint8_t out[kFileHeaderSize]);
void EncodeChunkHead(const ChunkTag& tag, uint32_t declaredSize, uint32_t dataSize, uint8_t out[kChunkHeadSize]);

// The whole file for the given chunks, for tools and tests that build one in
// memory. Tags longer than four characters are cut.
std::vector<uint8_t> EncodeChunkFile(const std::vector<Chunk>& chunks);

// False on a bad header or a chunk that runs past the end; out is left
// untouched then.
bool ReadChunkFile(const uint8_t* data, size_t size, std::vector<Chunk>* out);
bool ReadChunkFileFromPath(const std::string& path, std::vector<Chunk>* out);

}  // namespace chunks
