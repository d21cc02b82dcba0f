#pragma once
// Stand-ins for Windows programs on the host: what vpack checks of a stub
// and of the programs a payload carries, and no more.
#include <stddef.h>
#include <stdint.h>

#include <string>

namespace testing_support {

enum class StubVariant { kUser, kAdmin };

// An i386 stub: a PE header with its image checksum, the window class, and
// an application manifest asking for the variant's execution level, padded
// to the size asked for (or larger, when that is too small for them).
std::string StubImage(size_t size = 1024, StubVariant variant = StubVariant::kUser);

// Where StubImage keeps the image checksum and the signature's directory
// entry (offset, then size).
constexpr size_t kStubChecksumAt = 0xD8;
constexpr size_t kStubSecurityEntryAt = 0x118;

// The stub's resources: the section table entry of the one section that
// holds them, and their file offset (the section runs to the end of a stub of
// 1024 bytes).
constexpr size_t kStubResourceSectionAt = 0x178;
constexpr size_t kStubResourcesAt = 0x200;

// The resource section's bytes replaced by tree (from its start), with the
// section's stated sizes made virtualSize; the checksum is stamped again.
void PutResourceTree(std::string& stub, const std::string& tree, uint32_t virtualSize);

// Stamps the image checksum over all of image, as the linker does over a
// stub and a signing tool over a signed file.
void StampChecksum(std::string& image);

constexpr uint16_t kI386 = 0x14C;
constexpr uint16_t kAmd64 = 0x8664;

// The headers of a Windows program (an EXE, or a DLL) for the machine, and
// filler up to size bytes.
std::string ProgramImage(uint16_t machine, bool dll, size_t size = 2048);

}  // namespace testing_support
