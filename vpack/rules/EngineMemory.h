#pragma once
// What the 32-bit installer can hold of one item the engine decodes: the
// stored block and the engine's output, each whole, in one 32-bit process
// of 2 GiB whose free space is in pieces. Measured with the i686 stub and
// the stand-in engine under Wine: 480 MiB stored with 480 MiB out installs,
// 550 with 550 does not; 600 MiB out of a small stored block installs, 700
// does not; a stored block of 620 MiB cannot be had at all.
#include <stdint.h>

#include <string>
#include <vector>

namespace vpack {

constexpr uint64_t kEngineBlockLimit = 600ull << 20;
constexpr uint64_t kEngineTotalLimit = 960ull << 20;

// Empty when a 32-bit installer can hold the item; else why not, with the
// limits, as the end of a sentence that names the item.
std::string EngineMemoryProblem(uint64_t stored, uint64_t unpacked);

// An item the engine decodes whole, as packed.
struct EngineItem {
  std::string entry;  // the manifest entry, for messages
  uint64_t stored;
  uint64_t unpacked;
};

// Known only once compressed: whether the 32-bit installer (machine i386)
// can hold each item; it cannot install one that does not fit, so that is an
// error, one line per item. Other machines hold them all.
void CheckEngineMemory(const std::vector<EngineItem>& items, uint16_t machine);

}  // namespace vpack
