#pragma once
// What the 32-bit installer can hold of one item the engine decodes: the
// stored block and the engine's output, each whole, in one 32-bit process
// of 2 GiB whose free space is in pieces. Measured with the i686 stub and
// the stand-in engine under Wine: 480 MiB stored with 480 MiB out installs,
// 550 with 550 does not; 600 MiB out of a small stored block installs, 700
// does not; a stored block of 620 MiB cannot be had at all.
#include <stdint.h>

#include <string>

namespace vpack {

constexpr uint64_t kEngineBlockLimit = 600ull << 20;
constexpr uint64_t kEngineTotalLimit = 960ull << 20;

// Empty when a 32-bit installer can hold the item; else why not, with the
// limits, as the end of a sentence that names the item.
std::string EngineMemoryProblem(uint64_t stored, uint64_t unpacked);

}  // namespace vpack
