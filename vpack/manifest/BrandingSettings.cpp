#include "vpack/manifest/BrandingSettings.h"

#include <algorithm>

#include "payload/ProjectTypes.h"
#include "vpack/base/Error.h"

namespace vpack {
namespace {

struct FromBranding {
  const payload::Setting& setting;
  const char* versionString;  // in the branding's version information
  const char* key;            // the branding key that gives it
};

// versionString null: the key's own value, which is no version string.
const FromBranding kFromBranding[] = {
    {payload::kDisplayVersion, "ProductVersion", "product-version"},
    {payload::kPublisher, "CompanyName", "company-name"},
    {payload::kAboutUrl, nullptr, "about-url"},
    {payload::kHelpLink, nullptr, "help-url"},
};

const std::string* VersionString(const VersionInfo& version, const char* key) {
  for (const auto& string : version.strings) {
    if (string.first == key) return &string.second;
  }
  return nullptr;
}

bool Given(const Manifest& manifest, const char* name) {
  return std::any_of(manifest.settings.begin(), manifest.settings.end(),
                     [name](const SettingValue& setting) { return setting.info->name == std::string(name); });
}

// A manifest without a project type the installer knows is refused later,
// with the reason.
uint32_t ProjectType(const Manifest& manifest) {
  for (const SettingValue& setting : manifest.settings) {
    if (setting.info->name == std::string(kProjectType)) return setting.number;
  }
  return 0;
}

// The key's line; the product version follows the file version where no
// manifest gave it.
std::string PlaceOf(const Manifest& manifest, const std::string& key) {
  const std::map<std::string, std::string>& places = manifest.branding.places;
  auto place = places.find(key);
  if (place == places.end()) place = places.find("file-version");
  return place != places.end() ? place->second : manifest.path;
}

// The text a branding key gives for its setting; null where none.
const std::string* BrandingText(const Branding& branding, const FromBranding& from) {
  if (from.versionString != nullptr) {
    return branding.version ? VersionString(*branding.version, from.versionString) : nullptr;
  }
  auto link = branding.links.find(from.key);
  return link != branding.links.end() ? &link->second : nullptr;
}

}  // namespace

void AddBrandingSettings(Manifest& manifest) {
  std::vector<const char*> optional = OptionalSettings(ProjectType(manifest));
  for (const FromBranding& from : kFromBranding) {
    const char* name = from.setting.name;
    bool read = std::any_of(optional.begin(), optional.end(),
                            [name](const char* each) { return std::string(name) == each; });
    const std::string* text = BrandingText(manifest.branding, from);
    if (!read || text == nullptr || Given(manifest, name)) continue;
    std::string entry =
        PlaceOf(manifest, from.key) + ": setting " + Quoted(name) + " from branding " + Quoted(from.key);
    manifest.settings.push_back({FindSetting(name), 0, *text, std::string(), entry});
  }
}

}  // namespace vpack
