#include "vpack/StubCheck.h"

#include <string.h>

#include <algorithm>

#include "payload/PayloadFormat.h"
#include "platform/WindowNames.h"

namespace vpack {
namespace {

constexpr uint16_t kPe32 = 0x10B;
constexpr uint16_t kPe32Plus = 0x20B;
constexpr size_t kOptionalHeaderAt = 24;  // after "PE\0\0" and the file header
constexpr size_t kChecksumAt = 64;        // within the optional header
constexpr size_t kSecurityEntry = 4;      // data directory of the signature

uint32_t U16At(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t U32At(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

bool Holds(const uint8_t* bytes, size_t size, const char* text) {
  size_t n = strlen(text);
  return std::search(bytes, bytes + size, text, text + n) != bytes + size;
}

// Where the optional header starts, or 0 when the bytes are no PE program.
size_t OptionalHeader(const uint8_t* stub, size_t size) {
  if (size < 64 || stub[0] != 'M' || stub[1] != 'Z') return 0;
  size_t pe = U32At(stub + 0x3C);
  if (pe > size || size - pe < kOptionalHeaderAt + 2 || memcmp(stub + pe, "PE\0\0", 4) != 0) return 0;
  return pe + kOptionalHeaderAt;
}

// The checksum of the stub alone, or of the whole file once a signature
// follows the payload.
void CheckChecksum(const std::vector<uint8_t>& file, size_t stubSize, size_t optional,
                   std::vector<std::string>& problems) {
  uint32_t magic = U16At(file.data() + optional);
  size_t directories = optional + (magic == kPe32Plus ? 112 : 96);
  size_t security = directories + kSecurityEntry * 8;
  if ((magic != kPe32 && magic != kPe32Plus) || security + 8 > stubSize) {
    problems.push_back("stub: no complete optional header");
    return;
  }
  size_t at = optional + kChecksumAt;
  uint32_t stated = U32At(file.data() + at);
  bool signedAfter = U32At(file.data() + security + 4) != 0 && U32At(file.data() + security) >= stubSize;
  size_t covered = signedAfter ? file.size() : stubSize;
  if (stated == 0) {
    problems.push_back("stub: carries no image checksum, so a changed byte cannot be told; not a stub vpack knows");
  } else if (PeChecksum(file.data(), covered, at) != stated) {
    problems.push_back(std::string("stub: image checksum does not match: a byte of the ") +
                       (signedAfter ? "signed file" : "stub") + " has changed");
  }
}

}  // namespace

uint32_t PeChecksum(const uint8_t* bytes, size_t size, size_t checksumAt) {
  uint64_t sum = 0;
  auto byteAt = [&](size_t i) -> uint32_t {
    return i >= size || (i >= checksumAt && i < checksumAt + 4) ? 0 : bytes[i];
  };
  for (size_t i = 0; i < size; i += 2) {
    sum += byteAt(i) | (byteAt(i + 1) << 8);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + size);
}

std::vector<std::string> StubProblems(const std::vector<uint8_t>& file, size_t stubSize) {
  std::vector<std::string> problems;
  const uint8_t* stub = file.data();
  size_t optional = OptionalHeader(stub, stubSize);
  if (optional == 0) {
    problems.push_back("stub: not a Windows program (no \"MZ\" and \"PE\" headers)");
    return problems;
  }
  char marker[payload::kMarkerLength + 1];
  payload::JoinMarker(marker);
  if (!Holds(stub, stubSize, payload::kMarkerHead) || !Holds(stub, stubSize, payload::kMarkerTail)) {
    problems.push_back("stub: does not hold the payload marker's two halves; it cannot find its payload");
  }
  if (Holds(stub, stubSize, marker)) {
    problems.push_back("stub: holds the whole marker, which a scan for the payload would find first");
  }
  if (!Holds(stub, stubSize, names::kMainWindowClass)) {
    problems.push_back(std::string("stub: does not hold the window class \"") + names::kMainWindowClass +
                       "\" the engine is started with");
  }
  CheckChecksum(file, stubSize, optional, problems);
  return problems;
}

}  // namespace vpack
