#pragma once
// A stand-in for the stub on the host: what vpack checks of a stub and no
// more (a PE header with its image checksum and the window class), padded to
// the size asked for.
#include <stddef.h>

#include <string>

namespace testing_support {

std::string StubImage(size_t size = 1024);

// Where StubImage keeps the image checksum and the signature's directory
// entry (offset, then size).
constexpr size_t kStubChecksumAt = 0xD8;
constexpr size_t kStubSecurityEntryAt = 0x118;

// Stamps the image checksum over all of image, as the linker does over a
// stub and a signing tool over a signed file.
void StampChecksum(std::string& image);

}  // namespace testing_support
