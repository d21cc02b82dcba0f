#include "vpack/rules/EngineMemory.h"

#include "vpack/base/Error.h"
#include "vpack/rules/ProgramRules.h"

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

void CheckEngineMemory(const std::vector<EngineItem>& items, uint16_t machine) {
  if (machine != kMachineI386) return;
  std::vector<std::string> problems;
  for (const EngineItem& item : items) {
    std::string problem = EngineMemoryProblem(item.stored, item.unpacked);
    if (!problem.empty()) problems.push_back(item.entry + ": " + problem);
  }
  ThrowIfAny(problems);
}

}  // namespace vpack
