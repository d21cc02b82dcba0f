#include "vpack/branding/StubBranding.h"

#include <stdio.h>

#include <algorithm>

#include "payload/PayloadFormat.h"
#include "vpack/base/Error.h"
#include "vpack/base/InputFile.h"
#include "vpack/pe/PeImage.h"
#include "vpack/pe/ResourceSection.h"
#include "vpack/rules/Switches.h"

namespace vpack {
namespace {

void Remove(std::vector<Resource>& resources, uint32_t type) {
  resources.erase(std::remove_if(resources.begin(), resources.end(),
                                 [type](const Resource& r) { return r.type.name.empty() && r.type.id == type; }),
                  resources.end());
}

Resource Numbered(uint32_t type, uint32_t id, Bytes data) {
  Resource resource;
  resource.type.id = type;
  resource.name.id = id;
  resource.language = kEnglishUs;
  resource.data = std::move(data);
  return resource;
}

// The publisher's group takes the name of the stub's first one, so that the
// stub's own windows show it as well; Explorer shows the first group.
Resource IconGroup(const std::vector<Resource>& resources, const Branding& branding) {
  Resource group = Numbered(kGroupIconResource, 1, IconGroupData(branding.icon, 1));
  const Resource* first = nullptr;
  for (const Resource& r : resources) {
    bool isGroup = r.type.name.empty() && r.type.id == kGroupIconResource;
    if (isGroup && (first == nullptr || r.name < first->name)) first = &r;
  }
  if (first != nullptr) group.name = first->name, group.language = first->language;
  return group;
}

std::optional<VersionInfo> StatedVersion(const std::vector<Resource>& resources) {
  for (const Resource& r : resources) {
    if (r.type.name.empty() && r.type.id == kVersionResource) return ReadVersionResource(r.data);
  }
  return std::nullopt;
}

void ApplyBranding(std::vector<Resource>& resources, const Branding& branding) {
  if (!branding.icon.empty()) {
    Resource group = IconGroup(resources, branding);
    Remove(resources, kIconResource);
    Remove(resources, kGroupIconResource);
    for (size_t i = 0; i < branding.icon.size(); ++i) {
      resources.push_back(Numbered(kIconResource, static_cast<uint32_t>(i + 1), branding.icon[i].data));
    }
    resources.push_back(std::move(group));
  }
  if (branding.version) {
    VersionInfo version = *branding.version;
    // verify tells from it which switches the installer takes.
    std::optional<VersionInfo> stated = StatedVersion(resources);
    std::optional<FourPartVersion> own = OwnStubVersion(stated);
    if (stated && own) version.strings.push_back({kStubVersionString, VersionText(*own)});
    Remove(resources, kVersionResource);
    resources.push_back(Numbered(kVersionResource, 1, BuildVersionResource(version)));
  }
}

Bytes Brand(const Bytes& stub, const Branding& branding) {
  PeImage image = ReadPeImage(stub);
  const PeSection& section = image.sections[ResourceSectionIndex(stub, image)];
  std::vector<Resource> resources = ReadResources(SectionData(stub, section), section.virtualAddress);
  ApplyBranding(resources, branding);
  Bytes built = BuildResources(resources, section.virtualAddress);
  // The stub scans its file from the start for the marker when a signature
  // follows the payload; a copy of it in the resources would be taken first.
  char marker[payload::kMarkerLength + 1];
  payload::JoinMarker(marker);
  if (std::search(built.begin(), built.end(), marker, marker + payload::kMarkerLength) != built.end()) {
    throw Error("would hold the payload's marker in its branding, where the installer would look for its payload");
  }
  // A file that ends where a marker straddles two of the search's blocks is
  // moved on by one more unit of file alignment.
  Bytes out = ReplaceResources(stub, image, built, 0);
  if (!payload::ScanFinds(out.size())) out = ReplaceResources(stub, image, built, image.fileAlignment);
  if (!payload::ScanFinds(out.size())) {
    throw Error("comes to " + std::to_string(out.size()) + " bytes with the branding; the payload search reaches " +
                std::to_string(payload::kScanReach) +
                " at most");
  }
  return out;
}

}  // namespace

Bytes BrandStub(const Bytes& stub, const Branding& branding, const std::string& stubPath) {
  try {
    return Brand(stub, branding);
  } catch (const Error& e) {
    throw Error("stub " + Quoted(stubPath) + " " + e.what());
  }
}


}  // namespace vpack
