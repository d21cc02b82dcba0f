#include "tests/support/StubImage.h"

#include <string.h>

#include "payload/WindowNames.h"
#include "vpack/pe/PeImage.h"
#include "vpack/pe/ResourceSection.h"

namespace testing_support {
namespace {

constexpr size_t kPeAt = 0x80;
constexpr size_t kOptionalAt = kPeAt + 24;
constexpr size_t kSectionTableAt = kOptionalAt + 0xE0;  // after a PE32 optional header
static_assert(kSectionTableAt == kStubResourceSectionAt, "the header names it");
constexpr size_t kWindowClassAt = 0x1C0;
constexpr size_t kResourcesAt = kStubResourcesAt;
constexpr uint32_t kResourcesRva = 0x1000;

void PutU16(std::string& image, size_t at, unsigned value) {
  image[at] = static_cast<char>(value & 0xFF);
  image[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void PutU32(std::string& image, size_t at, uint32_t value) {
  PutU16(image, at, value & 0xFFFF);
  PutU16(image, at + 2, value >> 16);
}

void PutText(std::string& image, size_t at, const char* text) { memcpy(&image[at], text, strlen(text)); }

// MZ and PE headers of an image for the machine: a PE32 optional header for
// i386, PE32+ for the others, 16 data directories, the GUI subsystem.
void PutHeaders(std::string& image, uint16_t machine, bool dll, uint16_t sections) {
  bool pe32 = machine == kI386;
  PutText(image, 0, "MZ");
  image[0x3C] = static_cast<char>(kPeAt);
  memcpy(&image[kPeAt], "PE\0\0", 4);
  PutU16(image, kPeAt + 4, machine);
  PutU16(image, kPeAt + 6, sections);
  PutU16(image, kPeAt + 20, pe32 ? 0xE0 : 0xF0);  // optional header size
  PutU16(image, kPeAt + 22, 0x0002 | (pe32 ? 0x0100 : 0x0020) | (dll ? 0x2000 : 0));
  PutU16(image, kOptionalAt, pe32 ? 0x10B : 0x20B);
  PutU32(image, kOptionalAt + 32, 0x1000);  // section alignment
  PutU32(image, kOptionalAt + 36, 0x200);   // file alignment
  PutU16(image, kOptionalAt + 68, 2);       // subsystem: GUI
  PutU32(image, kOptionalAt + (pe32 ? 92 : 108), 16);
}

std::string ManifestText(StubVariant variant) {
  return std::string("<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"><trustInfo "
                     "xmlns=\"urn:schemas-microsoft-com:asm.v3\"><security><requestedPrivileges>"
                     "<requestedExecutionLevel level=\"") +
         (variant == StubVariant::kAdmin ? "requireAdministrator" : "asInvoker") +
         "\" uiAccess=\"false\"/></requestedPrivileges></security></trustInfo></assembly>";
}

}  // namespace

void StampChecksum(std::string& image) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(image.data());
  uint32_t sum = vpack::PeChecksum(bytes, image.size(), kStubChecksumAt);
  PutU32(image, kStubChecksumAt, sum);
}

std::string StubImage(size_t size, StubVariant variant) {
  vpack::Resource manifest;
  manifest.type.id = vpack::kManifestResource;
  manifest.name.id = 1;
  manifest.language = vpack::kEnglishUs;
  std::string text = ManifestText(variant);
  manifest.data.assign(text.begin(), text.end());
  vpack::Bytes resources = vpack::BuildResources({manifest}, kResourcesRva);
  size_t needed = kResourcesAt + resources.size();
  std::string image(size < needed ? needed : size, '\0');
  PutHeaders(image, kI386, false, 1);
  // The resource directory and the one section that holds it.
  PutU32(image, kOptionalAt + 96 + 2 * 8, kResourcesRva);
  PutU32(image, kOptionalAt + 96 + 2 * 8 + 4, static_cast<uint32_t>(resources.size()));
  PutText(image, kSectionTableAt, ".rsrc");
  PutU32(image, kSectionTableAt + 8, static_cast<uint32_t>(resources.size()));
  PutU32(image, kSectionTableAt + 12, kResourcesRva);
  PutU32(image, kSectionTableAt + 16, static_cast<uint32_t>(resources.size()));
  PutU32(image, kSectionTableAt + 20, kResourcesAt);
  memcpy(&image[kResourcesAt], resources.data(), resources.size());
  PutText(image, kWindowClassAt, names::kMainWindowClass);
  StampChecksum(image);
  return image;
}

void PutResourceTree(std::string& stub, const std::string& tree, uint32_t virtualSize) {
  memcpy(&stub[kResourcesAt], tree.data(), tree.size());
  PutU32(stub, kSectionTableAt + 8, virtualSize);
  PutU32(stub, kSectionTableAt + 16, static_cast<uint32_t>(stub.size() - kResourcesAt));
  StampChecksum(stub);
}

std::string ProgramImage(uint16_t machine, bool dll, size_t size) {
  std::string image(size < 0x200 ? 0x200 : size, '\0');
  for (size_t i = 0x200; i < image.size(); ++i) image[i] = static_cast<char>("program"[i % 7]);
  PutHeaders(image, machine, dll, 0);
  return image;
}

}  // namespace testing_support
