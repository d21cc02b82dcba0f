#include "packager/EngineFormat.h"

#include <string.h>
#include <zlib.h>

#include <algorithm>

namespace packager {
namespace {

const std::string kNoTag = std::string("not in the engine format (no \"") + payload::kEngineTag + "\" tag)";

}  // namespace

Bytes EngineItemHead(uint32_t decodedSize) {
  Bytes head(payload::kEngineItemHeadSize);
  payload::PutEngineItemHead(decodedSize, head.data());
  return head;
}

Bytes EngineEncode(const Bytes& plain) {
  Bytes out = EngineItemHead(static_cast<uint32_t>(plain.size()));
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

EngineDecoder::~EngineDecoder() {}

bool EngineDecoder::Fail(const std::string& problem) {
  if (problem_.empty()) problem_ = problem;
  return false;
}

bool EngineDecoder::Feed(const uint8_t* data, size_t size) {
  if (!problem_.empty()) return false;
  size_t take = std::min(size, payload::kEngineItemHeadSize - headSize_);
  memcpy(head_ + headSize_, data, take);
  headSize_ += take;
  if (headSize_ < payload::kEngineTagSize) return true;
  if (!payload::HasEngineTag(head_, headSize_)) return Fail(kNoTag);
  if (headSize_ < payload::kEngineItemHeadSize) return true;
  if (inflater_ == nullptr) {
    stated_ = payload::EngineItemStatedSize(head_);
    inflater_ = std::make_unique<StreamInflater>(sink_, stated_);
  }
  return Inflate(data + take, size - take);
}

bool EngineDecoder::Inflate(const uint8_t* data, size_t size) {
  if (inflater_->Feed(data, size)) return true;
  if (inflater_->OverLimit()) return Fail("decodes to more than its stated " + std::to_string(stated_) + " bytes");
  return Fail("does not decode: its packed stream is damaged");
}

bool EngineDecoder::Finish() {
  if (!problem_.empty()) return false;
  if (!payload::HasEngineTag(head_, headSize_)) return Fail(kNoTag);
  if (headSize_ < payload::kEngineItemHeadSize || !inflater_->Ended()) return Fail("does not decode: its packed stream is cut short");
  if (inflater_->Produced() != stated_) {
    return Fail("decodes to " + std::to_string(inflater_->Produced()) + " bytes, not its stated " +
                std::to_string(stated_));
  }
  return true;
}

}  // namespace packager
