#include "vpack/read/StubVersion.h"

#include "vpack/base/Error.h"
#include "vpack/base/InputFile.h"
#include "vpack/pe/PeImage.h"
#include "vpack/pe/ResourceSection.h"

namespace vpack {
namespace {

Bytes ReadImage(const std::string& path, uint64_t size) {
  Bytes image = InputFile(path).ReadHead(size);
  if (image.size() != size) throw Error(Quoted(path) + " cannot be read");
  return image;
}

}  // namespace

std::optional<VersionInfo> StubVersion(const std::string& installerPath, uint64_t imageSize) {
  Bytes image = ReadImage(installerPath, imageSize);
  try {
    PeImage pe = ReadPeImage(image);
    const PeSection& section = pe.sections[ResourceSectionIndex(image, pe)];
    for (const Resource& r : ReadResources(SectionData(image, section), section.virtualAddress)) {
      if (r.type.name.empty() && r.type.id == kVersionResource) return ReadVersionResource(r.data);
    }
  } catch (const Error&) {
    // A stub that is no executable, or one without resources, states no
    // version; the payload is still worth listing.
  }
  return std::nullopt;
}

}  // namespace vpack
