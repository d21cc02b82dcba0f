#include "standins/chunks/ChunkFile.h"

#include <stdio.h>
#include <string.h>

#include <utility>

namespace chunks {
namespace {

void PutU32(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
  out[2] = static_cast<uint8_t>(value >> 16);
  out[3] = static_cast<uint8_t>(value >> 24);
}

uint32_t GetU32(const uint8_t* in) {
  return in[0] | (in[1] << 8) | (in[2] << 16) | (static_cast<uint32_t>(in[3]) << 24);
}

bool HeaderValid(const uint8_t* data, size_t size) {
  return size >= kFileHeaderSize && memcmp(data, kFileTag, kTagSize) == 0 && GetU32(data + 4) == kFileVersion;
}

// Reads the chunk at *offset; false when its head or data would run past
// the end. Lengths are compared against what is left, never added to the
// offset first, so a huge length cannot wrap around.
bool ReadOneChunk(const uint8_t* data, size_t size, size_t* offset, Chunk* chunk) {
  size_t left = size - *offset;
  if (left < kChunkHeadSize) return false;
  const uint8_t* head = data + *offset;
  uint32_t dataSize = GetU32(head + 8);
  if (dataSize > left - kChunkHeadSize) return false;
  ChunkTag tag;
  memcpy(tag.data(), head, kTagSize);
  chunk->tag = ChunkTagText(tag);
  chunk->declaredSize = GetU32(head + 4);
  chunk->data.assign(head + kChunkHeadSize, head + kChunkHeadSize + dataSize);
  *offset += kChunkHeadSize + dataSize;
  return true;
}

}  // namespace

ChunkTag MakeChunkTag(const char* text) {
  ChunkTag tag = {};
  for (size_t i = 0; text != nullptr && i < kTagSize && text[i] != '\0'; ++i) tag[i] = text[i];
  return tag;
}

std::string ChunkTagText(const ChunkTag& tag) {
  size_t length = kTagSize;
  while (length > 0 && tag[length - 1] == '\0') --length;
  return std::string(tag.data(), length);
}

void EncodeFileHeader(uint8_t out[kFileHeaderSize]) {
  memcpy(out, kFileTag, kTagSize);
  PutU32(out + 4, kFileVersion);
}

void EncodeChunkHead(const ChunkTag& tag, uint32_t declaredSize, uint32_t dataSize, uint8_t out[kChunkHeadSize]) {
  memcpy(out, tag.data(), kTagSize);
  PutU32(out + 4, declaredSize);
  PutU32(out + 8, dataSize);
}

std::vector<uint8_t> EncodeChunkFile(const std::vector<Chunk>& chunks) {
  std::vector<uint8_t> out(kFileHeaderSize);
  EncodeFileHeader(out.data());
  for (const Chunk& chunk : chunks) {
    uint8_t head[kChunkHeadSize];
    EncodeChunkHead(MakeChunkTag(chunk.tag.c_str()), chunk.declaredSize, static_cast<uint32_t>(chunk.data.size()),
                    head);
    out.insert(out.end(), head, head + kChunkHeadSize);
    out.insert(out.end(), chunk.data.begin(), chunk.data.end());
  }
  return out;
}

bool ReadChunkFile(const uint8_t* data, size_t size, std::vector<Chunk>* out) {
  if (data == nullptr || out == nullptr || !HeaderValid(data, size)) return false;
  std::vector<Chunk> chunks;
  size_t offset = kFileHeaderSize;
  while (offset < size) {
    Chunk chunk;
    if (!ReadOneChunk(data, size, &offset, &chunk)) return false;
    chunks.push_back(std::move(chunk));
  }
  out->swap(chunks);
  return true;
}

bool ReadChunkFileFromPath(const std::string& path, std::vector<Chunk>* out) {
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::vector<uint8_t> bytes;
  uint8_t buffer[16384];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
  bool readFine = ferror(file) == 0;
  fclose(file);
  return readFine && ReadChunkFile(bytes.data(), bytes.size(), out);
}

}  // namespace chunks
