#include "vpack/rules/ProgramRules.h"

#include <stdio.h>
#include <string.h>

#include <vector>

#include "payload/EngineFiles.h"
#include "payload/LittleEndian.h"
#include "payload/RuntimeFiles.h"
#include "vpack/base/Error.h"
#include "vpack/base/InputFile.h"
#include "vpack/rules/StorageRules.h"

namespace vpack {
namespace {

// IMAGE_FILE_HEADER.Characteristics
constexpr uint16_t kExecutableImage = 0x0002;
constexpr uint16_t kDllImage = 0x2000;
// IMAGE_OPTIONAL_HEADER.Magic
constexpr uint16_t kPe32 = 0x10B;
constexpr uint16_t kPe32Plus = 0x20B;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

}  // namespace

const ProgramRule* FindProgramRule(const std::string& itemName, bool channelModule) {
  // The engine DLL and its channel units are the zlib-packed engine files.
  static const std::vector<ProgramRule> kRules = [] {
    std::vector<ProgramRule> rules;
    for (const payload::EngineFile& file : payload::kEngineFiles) {
      if (file.decode != 0) rules.push_back({file.name, ProgramKind::kDll});
    }
    for (const payload::ProgramFile& file : payload::kProgramFiles) rules.push_back({file.name, file.kind});
    return rules;
  }();
  for (const ProgramRule& rule : kRules) {
    if (SameItemName(itemName, rule.name)) return &rule;
  }
  static const ProgramRule kChannelModule = {"", ProgramKind::kDll};
  return channelModule ? &kChannelModule : nullptr;
}

std::string MachineName(uint16_t machine) {
  switch (machine) {
    case kMachineI386: return "i386";
    case kMachineAmd64: return "x86-64";
    case 0xAA64: return "ARM64";
    case 0x1C4: return "ARM";
    case 0x200: return "Itanium";
    default: {
      char text[16];
      snprintf(text, sizeof(text), "0x%04X", machine);
      return std::string("machine ") + text;
    }
  }
}

std::string ReadPeHeaders(const uint8_t* head, size_t size, PeHeaders* headers) {
  if (size < 64 || head[0] != 'M' || head[1] != 'Z') return "not a Windows program (no \"MZ\" header)";
  uint32_t pe = payload::ReadLittleEndian32(head + 0x3C);
  // Signature, file header and the optional header's magic.
  if (pe > size || size - pe < 4 + 20 + 2 || memcmp(head + pe, "PE\0\0", 4) != 0) {
    return "not a Windows program (no \"PE\" header where its \"MZ\" header points)";
  }
  const uint8_t* file = head + pe + 4;
  uint16_t characteristics = U16(file + 18);
  uint16_t optionalSize = U16(file + 16);
  uint16_t magic = U16(file + 20);
  if ((characteristics & kExecutableImage) == 0) return "not an executable image (its headers say so)";
  if (optionalSize < 2 || (magic != kPe32 && magic != kPe32Plus)) {
    return "not a Windows program (an optional header Windows does not know)";
  }
  headers->machine = U16(file);
  headers->dll = (characteristics & kDllImage) != 0;
  bool agree = (headers->machine != kMachineI386 || magic == kPe32) &&
               (headers->machine != kMachineAmd64 || magic == kPe32Plus);
  if (!agree) return "a damaged Windows program (its machine and optional header disagree)";
  return std::string();
}

std::string ProgramProblem(const ProgramRule& rule, const uint8_t* head, size_t size, uint16_t stubMachine) {
  PeHeaders headers;
  std::string problem = ReadPeHeaders(head, size, &headers);
  if (!problem.empty()) return problem;
  if (rule.kind == ProgramKind::kDll && !headers.dll) return "a program (EXE), but it is loaded as a DLL";
  if (rule.kind == ProgramKind::kExe && headers.dll) return "a DLL, but it is started as a program (EXE)";
  if (stubMachine != 0 && headers.machine != stubMachine) {
    return "built for " + MachineName(headers.machine) + "; an installer with an " + MachineName(stubMachine) +
           " stub needs " + MachineName(stubMachine) + " programs";
  }
  return std::string();
}

void CheckProgramSources(const std::vector<ProgramSource>& programs, uint16_t stubMachine) {
  std::vector<std::string> problems;
  for (const ProgramSource& program : programs) {
    packager::Bytes head = InputFile(program.source, program.entry + ": source").ReadHead(kProgramHeadBytes);
    std::string problem = ProgramProblem(*program.rule, head.data(), head.size(), stubMachine);
    if (!problem.empty()) problems.push_back(program.entry + ": source " + Quoted(program.source) + " is " + problem);
  }
  ThrowIfAny(problems);
}

}  // namespace vpack
