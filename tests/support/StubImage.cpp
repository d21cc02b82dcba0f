#include "tests/support/StubImage.h"

#include <string.h>

#include "platform/WindowNames.h"
#include "vpack/PeImage.h"

namespace testing_support {
namespace {

constexpr size_t kPeAt = 0x80;

void PutU16(std::string& image, size_t at, unsigned value) {
  image[at] = static_cast<char>(value & 0xFF);
  image[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void PutText(std::string& image, size_t at, const char* text) { memcpy(&image[at], text, strlen(text)); }

}  // namespace

void StampChecksum(std::string& image) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(image.data());
  uint32_t sum = vpack::PeChecksum(bytes, image.size(), kStubChecksumAt);
  for (int i = 0; i < 4; ++i) image[kStubChecksumAt + i] = static_cast<char>((sum >> (8 * i)) & 0xFF);
}

std::string StubImage(size_t size) {
  std::string image(size < 0x300 ? 0x300 : size, '\0');
  PutText(image, 0, "MZ");
  image[0x3C] = static_cast<char>(kPeAt);
  memcpy(&image[kPeAt], "PE\0\0", 4);
  PutU16(image, kPeAt + 4, 0x14C);   // i386
  PutU16(image, kPeAt + 20, 0xE0);   // optional header size
  PutU16(image, kPeAt + 24, 0x10B);  // PE32
  PutText(image, 0x280, names::kMainWindowClass);
  StampChecksum(image);
  return image;
}

}  // namespace testing_support
