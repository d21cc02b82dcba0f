#pragma once
// The publisher's icon and version information from the manifest's
// [branding] table, checked and ready to be written into the stub's copy.
#include <stdint.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <toml++/toml.h>

#include "payload/PayloadFormat.h"
#include "vpack/pe/IconFile.h"
#include "vpack/manifest/ManifestValues.h"
#include "vpack/pe/VersionResource.h"

namespace vpack {

// The stub grows by the resources, and a signed installer's stub must stay
// within reach of the payload search: an icon file of at most
// kMaxIconFileBytes with at most kMaxIconImages images, and texts of at most
// kMaxVersionText UTF-16 units, add at most payload::kMaxBrandingGrowth bytes
// (icon file, 4.3 KiB of version resource, 1.7 KiB of resource tree, 1 KiB
// of alignment and padding), which the build checks the stub against.
constexpr uint32_t kMaxIconFileBytes = 114688;
constexpr uint32_t kMaxIconImages = 32;
constexpr uint32_t kMaxVersionText = 256;
using payload::kMaxBrandingGrowth;

struct Branding {
  std::vector<IconImage> icon;         // empty: the stub keeps its own
  std::string iconPath;                // where icon was read; pack must not write there
  std::optional<VersionInfo> version;  // none: no version resource
  // Where each key was last given ("path:line:column"), for the messages
  // about what is made of it later.
  std::map<std::string, std::string> places;
  // Addresses for the uninstall entry, by key (about-url, help-url); not
  // part of the version resource.
  std::map<std::string, std::string> links;

  bool Empty() const { return icon.empty() && !version; }
};

// Reads one manifest's [branding] table onto branding: each key it gives
// replaces what an included manifest gave, as settings do. The icon's path
// takes variables and is relative to that manifest's folder, as every path.
// Throws Error with a one-line message that starts with the key's place in
// the manifest and names the key.
void ReadBranding(const ManifestContext& context, const toml::node& node, Branding& branding);
// Once every manifest is read: the ProductVersion string follows the file
// version unless a manifest gave one. Returns a warning when the version
// information has no file version, which Windows then shows as 0.0.0.0.
std::string FinishBranding(Branding& branding);

}  // namespace vpack
