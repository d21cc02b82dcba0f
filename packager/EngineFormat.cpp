#include "packager/EngineFormat.h"

#include <string.h>
#include <zlib.h>

#include <algorithm>

namespace packager {
namespace {

constexpr size_t kOutPiece = 256 * 1024;

}  // namespace

Bytes EngineEncode(const Bytes& plain) {
  Bytes out(kEngineTag, kEngineTag + 4);
  PutU32(out, static_cast<uint32_t>(plain.size()));
  uLongf packedSize = compressBound(static_cast<uLong>(plain.size()));
  size_t head = out.size();
  out.resize(head + packedSize);
  compress2(out.data() + head, &packedSize, plain.data(), static_cast<uLong>(plain.size()), Z_BEST_COMPRESSION);
  out.resize(head + packedSize);
  return out;
}

bool EngineDecode(const uint8_t* data, size_t size, Bytes* plain) {
  plain->clear();
  EngineDecoder decoder([plain](const uint8_t* bytes, size_t n) { plain->insert(plain->end(), bytes, bytes + n); });
  return decoder.Feed(data, size) && decoder.Finish();
}

EngineDecoder::EngineDecoder(Sink sink) : sink_(std::move(sink)) {}

EngineDecoder::~EngineDecoder() {
  if (stream_ != nullptr) inflateEnd(stream_);
  delete stream_;
}

bool EngineDecoder::Fail(const std::string& problem) {
  if (problem_.empty()) problem_ = problem;
  return false;
}

bool EngineDecoder::Feed(const uint8_t* data, size_t size) {
  if (!problem_.empty()) return false;
  size_t take = std::min(size, kEngineHeadSize - headSize_);
  memcpy(head_ + headSize_, data, take);
  headSize_ += take;
  if (headSize_ < 4) return true;
  if (memcmp(head_, kEngineTag, 4) != 0) return Fail("not in the engine format (no \"MRVF\" tag)");
  if (headSize_ < kEngineHeadSize) return true;
  if (stream_ == nullptr) {
    stated_ = head_[4] | (head_[5] << 8) | (head_[6] << 16) | (static_cast<uint32_t>(head_[7]) << 24);
    stream_ = new z_stream_s();
    if (inflateInit(stream_) != Z_OK) return Fail("cannot be decoded here: out of memory");
  }
  return Inflate(data + take, size - take);
}

// Bytes after the stream's end are not part of the file: the engine, which
// inflates the stream, ignores them.
bool EngineDecoder::Inflate(const uint8_t* data, size_t size) {
  static thread_local uint8_t out[kOutPiece];
  stream_->next_in = const_cast<uint8_t*>(data);
  stream_->avail_in = static_cast<uInt>(size);
  while (!ended_) {
    stream_->next_out = out;
    stream_->avail_out = sizeof(out);
    int result = inflate(stream_, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
      return Fail("does not decode: its packed stream is damaged");
    }
    size_t got = sizeof(out) - stream_->avail_out;
    decoded_ += got;
    if (decoded_ > stated_) return Fail("decodes to more than its stated " + std::to_string(stated_) + " bytes");
    if (got > 0) sink_(out, got);
    ended_ = result == Z_STREAM_END;
    // Room left over: the input is used up, and more is needed.
    if (stream_->avail_out != 0) break;
  }
  return true;
}

bool EngineDecoder::Finish() {
  if (!problem_.empty()) return false;
  if (headSize_ < 4 || memcmp(head_, kEngineTag, 4) != 0) return Fail("not in the engine format (no \"MRVF\" tag)");
  if (headSize_ < kEngineHeadSize || !ended_) return Fail("does not decode: its packed stream is cut short");
  if (decoded_ != stated_) {
    return Fail("decodes to " + std::to_string(decoded_) + " bytes, not its stated " + std::to_string(stated_));
  }
  return true;
}

}  // namespace packager
