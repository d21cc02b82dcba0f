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

}  // namespace payload
