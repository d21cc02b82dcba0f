#pragma once
// Whether the bytes before the payload are an intact installer stub: a
// Windows program that holds the marker in its two halves (it joins them to
// find its payload) and the window class the engine is started with, and
// whose image checksum still matches. The linker stamps that checksum into
// every stub it builds, so a changed byte shows without a copy of the stub to
// compare with; a publisher's signature, added after the payload, stamps it
// again over the whole file.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace vpack {

// One line per problem; file is the whole installer, the stub its first
// stubSize bytes.
std::vector<std::string> StubProblems(const std::vector<uint8_t>& file, size_t stubSize);

// The PE image checksum of size bytes, the 4 bytes at checksumAt counted as
// zero.
uint32_t PeChecksum(const uint8_t* bytes, size_t size, size_t checksumAt);

}  // namespace vpack
