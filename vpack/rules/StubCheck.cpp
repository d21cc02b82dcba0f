#include "vpack/rules/StubCheck.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

#include "payload/LittleEndian.h"
#include "payload/PayloadFormat.h"
#include "payload/ProjectTypes.h"
#include "payload/WindowNames.h"
#include "vpack/base/Error.h"
#include "vpack/base/InputFile.h"
#include "vpack/pe/PeImage.h"
#include "vpack/rules/ProgramRules.h"
#include "vpack/pe/ResourceSection.h"

namespace vpack {
namespace {

bool Holds(const std::vector<uint8_t>& bytes, const char* text) {
  size_t n = strlen(text);
  return std::search(bytes.begin(), bytes.end(), text, text + n) != bytes.end();
}


// A signing tool stamps the checksum over the whole file, payload and
// signature included; summed as it is read, in chunks of even size.
uint32_t FileChecksum(const std::string& path, uint64_t checksumAt) {
  InputFile file(path);
  std::vector<uint8_t> chunk(1 << 20);
  uint64_t sum = 0, total = 0;
  for (size_t got; (got = file.Read(chunk.data(), chunk.size())) > 0; total += got) {
    sum = PeChecksumAdd(sum, chunk.data(), got, total, checksumAt);
  }
  return PeChecksumFinish(sum, total);
}

// The checksum of the stub alone, or of the whole file once a signature
// follows the payload.
void CheckChecksum(const std::string& path, const std::vector<uint8_t>& stub, StubReport& report) {
  std::vector<std::string>& problems = report.problems;
  size_t at = 0;
  try {
    PeImage image = ReadPeImage(stub);
    // The security directory names a file offset, not an address.
    PeDirectory certificate = image.Directory(stub, kSecurityDirectory);
    report.certificateAt = certificate.rva;
    report.certificateSize = certificate.size;
    at = image.ChecksumAt();
  } catch (const Error& e) {
    problems.push_back(std::string("headers Windows would refuse: ") + e.what());
    return;
  }
  uint32_t stated = payload::ReadLittleEndian32(stub.data() + at);
  bool signedAfter = report.certificateSize != 0 && report.certificateAt >= stub.size();
  if (stated == 0) {
    problems.push_back("carries no image checksum, so a changed byte cannot be told; not a stub vpack knows");
    return;
  }
  uint32_t actual = signedAfter ? FileChecksum(path, at) : PeChecksum(stub.data(), stub.size(), at);
  if (actual != stated) {
    problems.push_back(std::string("image checksum does not match: a byte of the ") +
                       (signedAfter ? "signed file" : "stub") + " has changed");
  }
}

// The execution level the stub's application manifest asks for
// ("asInvoker", "requireAdministrator", ...): empty when it has none.
std::string ExecutionLevel(const std::vector<uint8_t>& stub) {
  PeImage image = ReadPeImage(stub);
  PeDirectory directory = image.Directory(stub, kResourceDirectory);
  if (directory.rva == 0) return std::string();
  const PeSection& section = image.sections[ResourceSectionIndex(stub, image)];
  for (const Resource& resource : ReadResources(SectionData(stub, section), section.virtualAddress)) {
    if (!resource.type.name.empty() || resource.type.id != kManifestResource) continue;
    std::string text(resource.data.begin(), resource.data.end());
    size_t at = text.find("requestedExecutionLevel");
    if (at == std::string::npos) continue;
    at = text.find("level", at + strlen("requestedExecutionLevel"));
    at = at == std::string::npos ? at : text.find_first_not_of(" \t\r\n=", at + 5);
    if (at == std::string::npos || (text[at] != '"' && text[at] != '\'')) continue;
    size_t end = text.find(text[at], at + 1);
    if (end != std::string::npos) return text.substr(at + 1, end - at - 1);
  }
  return std::string();
}

// The installing project types write to the machine's registry and system
// folder; a run in place is the user's own.
void CheckVariant(const std::vector<uint8_t>& stub, uint32_t projectType, std::vector<std::string>& problems) {
  const payload::ProjectTypeInfo* type = payload::FindProjectType(projectType);
  if (type == nullptr) return;
  std::string level;
  try {
    level = ExecutionLevel(stub);
  } catch (const Error& e) {
    problems.push_back(std::string("its resources cannot be read: ") + e.what());
    return;
  }
  if (level.empty()) {
    problems.push_back("has no application manifest asking for an execution level, which every Vandrel stub has");
    return;
  }
  const char* needed = type->installs ? "requireAdministrator" : "asInvoker";
  if (level != needed) {
    problems.push_back("asks for \"" + level + "\"; project type " + std::to_string(projectType) +
                       (type->installs ? " installs, so it needs " : " runs in place as the user, so it needs ") +
                       (type->installs ? kAdminStubName : kUserStubName) + ", which asks for \"" + needed + "\"");
  }
}

}  // namespace

StubReport CheckStub(const std::string& file, uint64_t stubSize, uint32_t projectType) {
  StubReport report;
  std::vector<std::string>& problems = report.problems;
  std::vector<uint8_t> stub(static_cast<size_t>(stubSize));
  if (InputFile(file).Read(stub.data(), stub.size()) != stub.size()) {
    throw Error(Quoted(file) + " is cut short");
  }
  PeHeaders headers;
  std::string notProgram = ReadPeHeaders(stub.data(), stub.size(), &headers);
  if (!notProgram.empty()) {
    problems.push_back(notProgram);
    return report;
  }
  if (headers.dll) problems.push_back("a DLL, not a program Windows can start");
  if (headers.machine != kMachineI386 && headers.machine != kMachineAmd64) {
    problems.push_back("built for " + MachineName(headers.machine) + "; Vandrel stubs are built for i386 or x86-64");
  } else if (!headers.dll) {
    report.machine = headers.machine;
  }
  char marker[payload::kMarkerLength + 1];
  payload::JoinMarker(marker);
  if (Holds(stub, marker)) {
    problems.push_back("holds the whole marker, which a scan for the payload would find first");
  }
  if (!Holds(stub, names::kMainWindowClass)) {
    problems.push_back(std::string("does not hold the window class \"") + names::kMainWindowClass +
                       "\" the engine is started with: not a Vandrel stub");
  }
  CheckChecksum(file, stub, report);
  CheckVariant(stub, projectType, problems);
  return report;
}

uint16_t RequireStub(const std::string& path, uint64_t stubSize, uint32_t projectType) {
  StubReport report = CheckStub(path, stubSize, projectType);
  if (!report.problems.empty()) throw Error("stub " + Quoted(path) + ": " + report.problems.front());
  return report.machine;
}

}  // namespace vpack
