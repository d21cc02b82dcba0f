#pragma once
// The installer, stub and payload, must stay below 2 GiB: the stub reads
// its own file with 32-bit offsets.
#include <stdint.h>

namespace vpack {

// Before compressing, what is already known of the size (the stub, the
// directory and every file stored as it is) must fit; throws Error.
void CheckKnownSize(uint64_t knownBytes);

}  // namespace vpack
