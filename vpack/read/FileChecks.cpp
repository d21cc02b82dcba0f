#include "vpack/read/FileChecks.h"

#include <string.h>

#include <algorithm>

#include "packager/EngineFormat.h"
#include "payload/ItemLayout.h"
#include "payload/EngineFiles.h"
#include "payload/ProjectTypes.h"
#include "payload/LittleEndian.h"
#include "vpack/rules/EngineMemory.h"
#include "vpack/read/ItemStream.h"
#include "vpack/rules/ProgramRules.h"
#include "vpack/rules/StorageRules.h"

namespace vpack {
namespace {

void Discard(const uint8_t*, size_t) {}

// A program as the installation writes it: the installer inflates the ones it
// extracts by name, the engine decodes the channel modules. Windows can
// neither start nor load an empty one.
ItemVerdict CheckProgram(const InstallerFile& file, int32_t index, Decode decode, const ProgramRule* rule,
                         uint16_t stubMachine) {
  packager::Bytes head;
  uint64_t total = 0;
  ItemVerdict verdict;
  ItemPass pass = PassItem(file, index, decode, [&](const uint8_t* bytes, size_t size) {
    size_t take = std::min(size, kProgramHeadBytes - head.size());
    head.insert(head.end(), bytes, bytes + take);
    total += size;
  });
  verdict.crc = pass.crc;
  verdict.problem = pass.problem;
  verdict.damaged = !pass.problem.empty();
  if (verdict.problem.empty() && total == 0) verdict.problem = "empty; Windows cannot start or load an empty program";
  if (verdict.problem.empty() && rule != nullptr) {
    verdict.problem = ProgramProblem(*rule, head.data(), head.size(), stubMachine);
  }
  return verdict;
}

// A project file the installer copies reaches the installation as it is
// stored, and the engine reads it from there in its own format, as it reads
// the start file: it must decode. Held otherwise the installation still
// works, but the engine gets bytes it does not expect.
ItemVerdict CheckCopied(const InstallerFile& file, int32_t index) {
  packager::Bytes head = file.ReadHead(index, 6);
  if (payload::HasEngineTag(head.data(), head.size())) {
    ItemPass pass = PassItem(file, index, Decode::kEngine, Discard);
    return {pass.crc, pass.problem, !pass.problem.empty(), std::string()};
  }
  ItemVerdict verdict;
  verdict.crc = PassItem(file, index, Decode::kNone, Discard).crc;
  bool zlib = head.size() >= 6 && (head[0] & 0x0F) == 8 && ((head[0] << 8) | head[1]) % 31 == 0 &&
              PassItem(file, index, Decode::kZlib, Discard).problem.empty();
  verdict.warning = CopiedNotEngineFormat(zlib ? "stored as zlib" : "not in the engine format");
  return verdict;
}

// The 32-bit installer holds an item the engine decodes whole, and the
// engine's output beside it.
std::string EngineMemoryOf(const InstallerFile& file, int32_t index, uint16_t stubMachine) {
  packager::Bytes head = file.ReadHead(index, payload::kEngineItemHeadSize);
  if (stubMachine != kMachineI386 || head.size() < payload::kEngineItemHeadSize) return "";
  return EngineMemoryProblem(file.Entry(index).size, payload::EngineItemStatedSize(head.data()));
}

}  // namespace

ItemVerdict CheckItemBytes(const InstallerFile& file, int32_t index, const WrittenForms& forms, uint16_t stubMachine) {
  const payload::PayloadEntry& entry = file.Entry(index);
  packager::Item item{entry.type, entry.name, {}};
  if (!IsFileItem(item)) return {PassItem(file, index, Decode::kNone, Discard).crc, std::string(), false, std::string()};
  Written written = forms.Of(item.name);
  const ProgramRule* rule = FindProgramRule(item.name, forms.IsChannelModule(item.name));
  if (written == Written::kInflated) return CheckProgram(file, index, Decode::kZlib, rule, stubMachine);
  if (written == Written::kDecoded && rule != nullptr) {
    return CheckProgram(file, index, Decode::kEngine, rule, stubMachine);
  }
  // The start file is written as stored, for the viewer to decode.
  if (written == Written::kDecoded || IsStartFile(item.name)) {
    ItemPass pass = PassItem(file, index, Decode::kEngine, Discard);
    if (!pass.problem.empty()) return {pass.crc, pass.problem, true, std::string()};
    if (written == Written::kDecoded) pass.problem = EngineMemoryOf(file, index, stubMachine);
    return {pass.crc, pass.problem, false, std::string()};
  }
  if (forms.IsListed(item.name)) return CheckCopied(file, index);
  return {PassItem(file, index, Decode::kNone, Discard).crc, std::string(), false, std::string()};
}

}  // namespace vpack
