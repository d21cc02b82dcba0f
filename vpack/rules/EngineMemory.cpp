#include "vpack/rules/EngineMemory.h"

namespace vpack {
namespace {

std::string Mib(uint64_t bytes) { return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MiB"; }

}  // namespace

std::string EngineMemoryProblem(uint64_t stored, uint64_t unpacked) {
  if (stored <= kEngineBlockLimit && unpacked <= kEngineBlockLimit && stored + unpacked <= kEngineTotalLimit) return "";
  return "too large for the 32-bit installer to hold with the engine's output: " + Mib(stored) + " stored and " +
         Mib(unpacked) + " decoded, where it holds at most " + Mib(kEngineBlockLimit) + " of either and " +
         Mib(kEngineTotalLimit) + " together";
}

}  // namespace vpack
