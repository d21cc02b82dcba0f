#pragma once
// Inflates a zlib stream (header, deflate data, Adler-32) into a buffer of
// known size: what the stub needs of zlib, in a fraction of its code.
#include <stddef.h>
#include <stdint.h>

namespace payload {

// True when the whole stream decodes, fits in outSize bytes and its
// checksum matches; *written is the number of bytes produced. Never reads or
// writes outside the two buffers, whatever the input.
bool InflateZlib(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize, size_t* written);

// The stream's bytes, a piece at a time; false when there are no more.
class InflateSource {
 public:
  virtual bool Next(const uint8_t** bytes, size_t* count) = 0;

 protected:
  ~InflateSource() {}
};

// Where the output goes as the window fills; false stops the inflation.
class InflateSink {
 public:
  virtual bool Take(const uint8_t* bytes, size_t count) = 0;

 protected:
  ~InflateSink() {}
};

// The same for a stream of any size: pulled from the source, passed to the
// sink through the window (at least 64 KiB), at most limit bytes. True when
// the whole stream decodes and its checksum matches; *written is what the
// sink was given.
bool InflateZlibStream(InflateSource& source, InflateSink& sink, uint8_t* window, size_t windowSize, uint32_t limit,
                       uint32_t* written);

}  // namespace payload
