#include "vpack/StubCheck.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

#include "payload/LittleEndian.h"
#include "payload/PayloadFormat.h"
#include "platform/WindowNames.h"
#include "vpack/Error.h"
#include "vpack/PeImage.h"

namespace vpack {
namespace {

constexpr uint16_t kPe32 = 0x10B;
constexpr uint16_t kPe32Plus = 0x20B;
constexpr size_t kOptionalHeaderAt = 24;  // after "PE\0\0" and the file header
constexpr size_t kChecksumAt = 64;        // within the optional header
constexpr size_t kSecurityEntry = 4;      // data directory of the signature

uint32_t U16At(const uint8_t* p) { return p[0] | (p[1] << 8); }

bool Holds(const std::vector<uint8_t>& bytes, const char* text) {
  size_t n = strlen(text);
  return std::search(bytes.begin(), bytes.end(), text, text + n) != bytes.end();
}

// Where the optional header starts, or 0 when the bytes are no PE program.
size_t OptionalHeader(const std::vector<uint8_t>& stub) {
  size_t size = stub.size();
  if (size < 64 || stub[0] != 'M' || stub[1] != 'Z') return 0;
  size_t pe = payload::ReadLittleEndian32(stub.data() + 0x3C);
  if (pe > size || size - pe < kOptionalHeaderAt + 2 || memcmp(stub.data() + pe, "PE\0\0", 4) != 0) return 0;
  return pe + kOptionalHeaderAt;
}

class InputFile {
 public:
  explicit InputFile(const std::string& path) : path_(path), file_(fopen(path.c_str(), "rb")) {
    if (file_ == nullptr) throw Error(Quoted(path) + " cannot be read: " + strerror(errno));
  }
  ~InputFile() { fclose(file_); }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  size_t Read(uint8_t* out, size_t count) {
    size_t got = fread(out, 1, count, file_);
    if (got < count && ferror(file_)) throw Error(Quoted(path_) + " cannot be read");
    return got;
  }

 private:
  std::string path_;
  FILE* file_;
};

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
void CheckChecksum(const std::string& path, const std::vector<uint8_t>& stub, size_t optional,
                   std::vector<std::string>& problems) {
  uint32_t magic = U16At(stub.data() + optional);
  size_t directories = optional + (magic == kPe32Plus ? 112 : 96);
  size_t security = directories + kSecurityEntry * 8;
  if ((magic != kPe32 && magic != kPe32Plus) || security + 8 > stub.size()) {
    problems.push_back("stub: no complete optional header");
    return;
  }
  size_t at = optional + kChecksumAt;
  uint32_t stated = payload::ReadLittleEndian32(stub.data() + at);
  bool signedAfter = payload::ReadLittleEndian32(stub.data() + security + 4) != 0 && payload::ReadLittleEndian32(stub.data() + security) >= stub.size();
  if (stated == 0) {
    problems.push_back("stub: carries no image checksum, so a changed byte cannot be told; not a stub vpack knows");
    return;
  }
  uint32_t actual = signedAfter ? FileChecksum(path, at) : PeChecksum(stub.data(), stub.size(), at);
  if (actual != stated) {
    problems.push_back(std::string("stub: image checksum does not match: a byte of the ") +
                       (signedAfter ? "signed file" : "stub") + " has changed");
  }
}

}  // namespace


std::vector<std::string> StubProblems(const std::string& installer, uint64_t stubSize) {
  std::vector<std::string> problems;
  std::vector<uint8_t> stub(static_cast<size_t>(stubSize));
  if (InputFile(installer).Read(stub.data(), stub.size()) != stub.size()) {
    throw Error(Quoted(installer) + " is cut short");
  }
  size_t optional = OptionalHeader(stub);
  if (optional == 0) {
    problems.push_back("stub: not a Windows program (no \"MZ\" and \"PE\" headers)");
    return problems;
  }
  char marker[payload::kMarkerLength + 1];
  payload::JoinMarker(marker);
  if (Holds(stub, marker)) {
    problems.push_back("stub: holds the whole marker, which a scan for the payload would find first");
  }
  if (!Holds(stub, names::kMainWindowClass)) {
    problems.push_back(std::string("stub: does not hold the window class \"") + names::kMainWindowClass +
                       "\" the engine is started with");
  }
  CheckChecksum(installer, stub, optional, problems);
  return problems;
}

}  // namespace vpack
