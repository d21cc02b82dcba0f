#include "standins/chunks/ChunkWriter.h"

namespace chunks {

bool ChunkWriter::Put(const uint8_t* data, size_t size) {
  // After a refusal every later byte would land at the wrong place.
  if (!healthy_ || size == 0) return healthy_;
  if (!sink_(context_, data, size)) healthy_ = false;
  return healthy_;
}

bool ChunkWriter::WriteHeader() {
  uint8_t header[kFileHeaderSize];
  EncodeFileHeader(header);
  return Put(header, sizeof header);
}

bool ChunkWriter::BeginChunk(const char* tag) {
  bool finished = Finish();
  pending_ = true;
  tag_ = MakeChunkTag(tag);
  declaredSize_ = 0;
  return finished;
}

void ChunkWriter::SetChunkSize(uint32_t size) {
  if (pending_) declaredSize_ = size;
}

bool ChunkWriter::WriteData(const void* data, size_t size) {
  if (!pending_) return false;
  if (size == 0) return true;
  if (data == nullptr || size > UINT32_MAX - data_.size()) return false;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  data_.insert(data_.end(), bytes, bytes + size);
  return true;
}

bool ChunkWriter::Finish() {
  if (!pending_) return healthy_;
  uint8_t head[kChunkHeadSize];
  EncodeChunkHead(tag_, declaredSize_, static_cast<uint32_t>(data_.size()), head);
  Put(head, sizeof head);
  Put(data_.data(), data_.size());
  pending_ = false;
  declaredSize_ = 0;
  // Give the memory back: chunks can be large, and a saver lives on.
  std::vector<uint8_t>().swap(data_);
  return healthy_;
}

}  // namespace chunks
