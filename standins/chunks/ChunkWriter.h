#pragma once
// Writes a chunk file through a sink, one chunk at a time: a chunk's data is
// collected until the next chunk begins or the writer finishes, because its
// length goes in front of it and the sink need not be able to seek back.
#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "standins/chunks/ChunkFile.h"

namespace chunks {

class ChunkWriter {
 public:
  // Takes the bytes in file order; false when they could not be stored.
  using Sink = bool (*)(void* context, const uint8_t* data, size_t size);

  ChunkWriter(Sink sink, void* context) : sink_(sink), context_(context) {}

  bool WriteHeader();
  // Finishes the pending chunk, then starts one with declared size 0.
  bool BeginChunk(const char* tag);
  // Ignored when no chunk is pending.
  void SetChunkSize(uint32_t size);
  // False (nothing kept) without a pending chunk, for null data, or when
  // the chunk would outgrow the 32-bit length field.
  bool WriteData(const void* data, size_t size);
  // Writes the pending chunk, if any.
  bool Finish();

  bool HasPendingChunk() const { return pending_; }
  // False once the sink has refused anything.
  bool Healthy() const { return healthy_; }

 private:
  bool Put(const uint8_t* data, size_t size);

  Sink sink_;
  void* context_;
  bool healthy_ = true;
  bool pending_ = false;
  ChunkTag tag_ = {};
  uint32_t declaredSize_ = 0;
  std::vector<uint8_t> data_;
};

}  // namespace chunks
