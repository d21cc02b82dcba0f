#pragma once
// zlib's inflate over a zlib stream (RFC 1950) given in pieces of any size,
// the output handed on in pieces as it comes: memory does not grow with the
// stream. Bytes after the stream's end are ignored, as one-shot inflaters
// ignore them.
#include <stddef.h>
#include <stdint.h>

#include <functional>

struct z_stream_s;

namespace packager {

class StreamInflater {
 public:
  using Sink = std::function<void(const uint8_t* bytes, size_t size)>;
  // More output than limit is damage: the stream does not hold what its
  // container states.
  StreamInflater(Sink sink, uint64_t limit);
  ~StreamInflater();
  StreamInflater(const StreamInflater&) = delete;
  StreamInflater& operator=(const StreamInflater&) = delete;

  // False once the stream is damaged or gives more than the limit.
  bool Feed(const uint8_t* data, size_t size);
  bool Ended() const { return ended_; }
  bool Damaged() const { return damaged_; }
  bool OverLimit() const { return produced_ > limit_; }
  uint64_t Produced() const { return produced_; }

 private:
  Sink sink_;
  uint64_t limit_;
  z_stream_s* stream_;
  uint64_t produced_ = 0;
  bool ended_ = false;
  bool damaged_ = false;
};

}  // namespace packager
