#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "standins/chunks/ChunkFile.h"
#include "standins/chunks/ChunkWriter.h"

using chunks::Chunk;
using chunks::ChunkWriter;

namespace {

bool AppendToVector(void* context, const uint8_t* data, size_t size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  out->insert(out->end(), data, data + size);
  return true;
}

bool RefuseAll(void*, const uint8_t*, size_t) { return false; }

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> WriteSample() {
  std::vector<uint8_t> file;
  ChunkWriter writer(AppendToVector, &file);
  writer.WriteHeader();
  writer.BeginChunk("HEAD");
  writer.SetChunkSize(5);
  writer.WriteData("hello", 5);
  writer.BeginChunk("BODY");
  writer.SetChunkSize(11);
  writer.WriteData("hello ", 6);
  writer.WriteData("world", 5);
  writer.BeginChunk("ENDS");
  writer.Finish();
  return file;
}

}  // namespace

TEST(ChunkFile, WriterOutput_ReadsBackChunkByChunk) {
  std::vector<uint8_t> file = WriteSample();
  std::vector<Chunk> chunks;
  ASSERT_TRUE(chunks::ReadChunkFile(file.data(), file.size(), &chunks));
  ASSERT_EQ(3u, chunks.size());
  EXPECT_EQ("HEAD", chunks[0].tag);
  EXPECT_EQ(5u, chunks[0].declaredSize);
  EXPECT_EQ(Bytes("hello"), chunks[0].data);
  EXPECT_EQ("BODY", chunks[1].tag);
  EXPECT_EQ(11u, chunks[1].declaredSize);
  EXPECT_EQ(Bytes("hello world"), chunks[1].data);
}

TEST(ChunkFile, ChunkWithoutSizeOrData_HasZeroSizeAndNoData) {
  std::vector<uint8_t> file = WriteSample();
  std::vector<Chunk> chunks;
  ASSERT_TRUE(chunks::ReadChunkFile(file.data(), file.size(), &chunks));
  ASSERT_EQ(3u, chunks.size());
  EXPECT_EQ("ENDS", chunks[2].tag);
  EXPECT_EQ(0u, chunks[2].declaredSize);
  EXPECT_TRUE(chunks[2].data.empty());
}

TEST(ChunkFile, Layout_IsHeaderThenTagSizeLengthData) {
  std::vector<uint8_t> file;
  ChunkWriter writer(AppendToVector, &file);
  writer.WriteHeader();
  writer.BeginChunk("AB");
  writer.SetChunkSize(0x01020304);
  writer.WriteData("xy", 2);
  writer.Finish();
  std::vector<uint8_t> expected = {'V', 'C', 'H', 'K', 1, 0, 0, 0, 'A', 'B', 0, 0, 4, 3, 2, 1, 2, 0, 0, 0, 'x', 'y'};
  EXPECT_EQ(expected, file);
}

TEST(ChunkFile, LongTag_IsCutToFourCharacters) {
  std::vector<Chunk> chunks;
  std::vector<uint8_t> file = chunks::EncodeChunkFile({{"TOOLONG", 0, {}}, {"X", 1, {9}}});
  ASSERT_TRUE(chunks::ReadChunkFile(file.data(), file.size(), &chunks));
  ASSERT_EQ(2u, chunks.size());
  EXPECT_EQ("TOOL", chunks[0].tag);
  EXPECT_EQ("X", chunks[1].tag);
  EXPECT_EQ(std::vector<uint8_t>{9}, chunks[1].data);
}

TEST(ChunkFile, HeaderOnly_ReadsAsNoChunks) {
  std::vector<uint8_t> file = chunks::EncodeChunkFile({});
  std::vector<Chunk> chunks(1);
  ASSERT_TRUE(chunks::ReadChunkFile(file.data(), file.size(), &chunks));
  EXPECT_TRUE(chunks.empty());
}

TEST(ChunkFile, TruncatedFile_IsRefusedAtEveryLength) {
  std::vector<uint8_t> file = WriteSample();
  for (size_t cut = 1; cut < file.size(); ++cut) {
    std::vector<uint8_t> part(file.begin(), file.end() - cut);
    std::vector<Chunk> chunks;
    bool chunkBoundary = part.size() == 8 || part.size() == 8 + 12 + 5 || part.size() == 8 + 12 + 5 + 12 + 11;
    EXPECT_EQ(chunkBoundary, chunks::ReadChunkFile(part.data(), part.size(), &chunks)) << "cut " << cut;
  }
}

TEST(ChunkFile, HugeDataLength_IsRefused) {
  std::vector<uint8_t> file = chunks::EncodeChunkFile({{"DATA", 0, {1, 2, 3}}});
  file[16] = file[17] = file[18] = file[19] = 0xFF;
  std::vector<Chunk> chunks;
  EXPECT_FALSE(chunks::ReadChunkFile(file.data(), file.size(), &chunks));
}

TEST(ChunkFile, BadHeader_IsRefused) {
  std::vector<uint8_t> file = WriteSample();
  std::vector<Chunk> chunks;
  std::vector<uint8_t> badTag = file;
  badTag[0] = 'X';
  EXPECT_FALSE(chunks::ReadChunkFile(badTag.data(), badTag.size(), &chunks));
  std::vector<uint8_t> badVersion = file;
  badVersion[4] = 2;
  EXPECT_FALSE(chunks::ReadChunkFile(badVersion.data(), badVersion.size(), &chunks));
  EXPECT_FALSE(chunks::ReadChunkFile(file.data(), 7, &chunks));
  EXPECT_FALSE(chunks::ReadChunkFile(nullptr, 0, &chunks));
}

TEST(ChunkFile, WriterWithoutPendingChunk_IgnoresSizeAndData) {
  std::vector<uint8_t> file;
  ChunkWriter writer(AppendToVector, &file);
  writer.WriteHeader();
  writer.SetChunkSize(7);
  EXPECT_FALSE(writer.WriteData("abc", 3));
  EXPECT_TRUE(writer.Finish());
  EXPECT_EQ(chunks::EncodeChunkFile({}), file);
}

TEST(ChunkFile, RefusingSink_MakesWriterUnhealthy) {
  ChunkWriter writer(RefuseAll, nullptr);
  EXPECT_FALSE(writer.WriteHeader());
  writer.BeginChunk("DATA");
  EXPECT_FALSE(writer.Finish());
  EXPECT_FALSE(writer.Healthy());
}

TEST(ChunkFile, ReadFromPath_ReadsWrittenFile) {
  std::string path = ::testing::TempDir() + "chunkfile_test.vchk";
  std::vector<uint8_t> file = WriteSample();
  FILE* out = fopen(path.c_str(), "wb");
  ASSERT_NE(nullptr, out);
  fwrite(file.data(), 1, file.size(), out);
  fclose(out);
  std::vector<Chunk> chunks;
  EXPECT_TRUE(chunks::ReadChunkFileFromPath(path, &chunks));
  EXPECT_EQ(3u, chunks.size());
  remove(path.c_str());
  EXPECT_FALSE(chunks::ReadChunkFileFromPath(path, &chunks));
}
