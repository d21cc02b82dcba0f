#include "packager/StreamInflater.h"

#include <zlib.h>

namespace packager {

StreamInflater::StreamInflater(Sink sink, uint64_t limit) : sink_(std::move(sink)), limit_(limit), stream_(new z_stream_s()) {
  damaged_ = inflateInit(stream_) != Z_OK;
}

StreamInflater::~StreamInflater() {
  inflateEnd(stream_);
  delete stream_;
}

bool StreamInflater::Feed(const uint8_t* data, size_t size) {
  static thread_local uint8_t out[256 * 1024];
  if (damaged_ || OverLimit()) return false;
  stream_->next_in = const_cast<uint8_t*>(data);
  stream_->avail_in = static_cast<uInt>(size);
  while (!ended_) {
    stream_->next_out = out;
    stream_->avail_out = sizeof(out);
    int result = inflate(stream_, Z_NO_FLUSH);
    // A preset dictionary (Z_NEED_DICT) is not one an installer has.
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
      damaged_ = true;
      return false;
    }
    size_t got = sizeof(out) - stream_->avail_out;
    produced_ += got;
    if (OverLimit()) return false;
    if (got > 0) sink_(out, got);
    ended_ = result == Z_STREAM_END;
    // Room left over: the input is used up, and more is needed.
    if (stream_->avail_out != 0) break;
  }
  return true;
}

}  // namespace packager
