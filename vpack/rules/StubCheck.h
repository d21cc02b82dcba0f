#pragma once
// Whether the bytes before the payload are an intact installer stub: a
// Windows program that holds the window class the engine is started with,
// does not hold the marker in one piece (its scan would find that copy
// first; the stub joins two halves at run time, and whether the halves show
// as text depends on the compiler), and whose image checksum still matches.
// The linker stamps that checksum into every stub it builds, so a changed
// byte shows without a copy of the stub to compare with; a publisher's
// signature, added after the payload, stamps it again over the whole file.
#include <stdint.h>

#include <string>
#include <vector>

namespace vpack {

// The administrator variant's name in a folder of stubs, and the other's.
constexpr char kAdminStubName[] = "VandrelStubAdmin.exe";
constexpr char kUserStubName[] = "VandrelStub.exe";

struct StubReport {
  // One phrase per problem, for the caller to put after the stub's name.
  std::vector<std::string> problems;
  // IMAGE_FILE_MACHINE_* of a stub whose headers are sound, else 0.
  uint16_t machine = 0;
  // The certificate table a signing tool appended, as the stub's headers
  // name it (file offset and size); 0 and 0 when there is none.
  uint64_t certificateAt = 0;
  uint64_t certificateSize = 0;
};

// The stub is the first stubSize bytes of file: an installer, or the stub
// itself when packing. Besides the checks above, it must be an EXE (not a
// DLL) for i386 or x86-64, and, when projectType is one the installer knows,
// the variant that type needs: its application manifest asks for an
// administrator for the installing types and runs as the user otherwise.
// Only the stub is held in memory: a signed file's checksum is summed as it
// is read. Throws Error when the file cannot be read.
StubReport CheckStub(const std::string& file, uint64_t stubSize, uint32_t projectType);

// The stub pack copies, its first stubSize bytes, must pass those checks
// for the project type: throws Error naming the stub with the first
// problem; returns its machine.
uint16_t RequireStub(const std::string& path, uint64_t stubSize, uint32_t projectType);

}  // namespace vpack
