// The [branding] table of the manifest:
//
//   [branding]
//   icon = "${art}/tour.ico"            # .ico with a 32-bit image
//   file-version = "1.4.0.12"           # four numbers, each 0 .. 65535
//   product-version = "1.4.0.0"         # default: the file version
//   product-name = "Harbour Tour"
//   company-name = "Vandrel Tours"
//   file-description = "Harbour Tour Setup"
//   copyright = "© 2026 Vandrel Tours"
//   original-filename = "HarbourTourSetup.exe"
#include "vpack/manifest/Branding.h"

#include <algorithm>

#include "vpack/base/Error.h"
#include "vpack/base/InputFile.h"
#include "vpack/base/Suggest.h"

namespace vpack {
namespace {

// Manifest key and version string, in the order the strings are written.
struct TextKey {
  const char* key;
  const char* versionString;
};
constexpr TextKey kTextKeys[] = {
    {"company-name", "CompanyName"},       {"file-description", "FileDescription"},
    {"file-version", "FileVersion"},       {"copyright", "LegalCopyright"},
    {"original-filename", "OriginalFilename"}, {"product-name", "ProductName"},
    {"product-version", "ProductVersion"},
};

// Each failure as "path:line:column: branding "key" ...", the manifest's own
// form.
struct Context {
  const ManifestContext& manifest;
  [[noreturn]] void Fail(const toml::node& at, const std::string& key, const std::string& problem) const {
    manifest.Fail(at, "branding " + Quoted(key) + " " + problem);
  }
};

std::string Text(const Context& context, const std::string& key, const toml::node& node) {
  const toml::value<std::string>* value = node.as_string();
  if (value == nullptr) context.Fail(node, key, "must be a string");
  return value->get();
}

FourPartVersion ParseVersion(const Context& context, const std::string& key, const toml::node& node) {
  std::string text = Text(context, key, node);
  FourPartVersion version{};
  size_t at = 0;
  for (size_t part = 0; part < 4; ++part) {
    size_t end = at;
    while (end < text.size() && end - at < 6 && text[end] >= '0' && text[end] <= '9') ++end;
    bool separated = part == 3 ? end == text.size() : end < text.size() && text[end] == '.';
    if (end == at || !separated || std::stoul(text.substr(at, end - at)) > 0xFFFF) {
      context.Fail(node, key, "is " + Quoted(text) + "; it must be four numbers a.b.c.d, each 0 .. 65535");
    }
    version[part] = static_cast<uint16_t>(std::stoul(text.substr(at, end - at)));
    at = end + 1;
  }
  return version;
}

void CheckText(const Context& context, const std::string& key, const toml::node& node, const std::string& text) {
  if (text.find('\0') != std::string::npos) context.Fail(node, key, "contains a NUL character");
  size_t units = 0;
  try {
    units = Utf16FromUtf8(text).size();
  } catch (const Error& e) {
    context.Fail(node, key, e.what());
  }
  if (units > kMaxVersionText) {
    context.Fail(node, key, "is " + std::to_string(units) + " characters long; at most " +
                                std::to_string(kMaxVersionText) + " fit");
  }
}

std::vector<IconImage> ReadIcon(const Context& context, const toml::node& node, const std::string& path) {
  std::string what = Quoted(Text(context, "icon", node));
  Bytes file = ReadWholeFile(path, context.manifest.Entry(node, "branding \"icon\""));
  if (file.size() > kMaxIconFileBytes) {
    context.Fail(node, "icon",
                 what + " is " + std::to_string(file.size()) + " bytes; an installer's icon holds at most " +
                     std::to_string(kMaxIconFileBytes) +
                     ", so that a signed installer still finds its payload: store its 256-pixel image "
                     "as PNG (icon editors offer it), which makes such icons a fraction of the size");
  }
  std::vector<IconImage> images;
  try {
    images = ReadIconFile(file);
  } catch (const Error& e) {
    context.Fail(node, "icon", what + " " + e.what());
  }
  if (images.size() > kMaxIconImages) {
    context.Fail(node, "icon", what + " holds " + std::to_string(images.size()) + " images; at most " +
                                   std::to_string(kMaxIconImages) + " fit");
  }
  for (const IconImage& image : images) {
    if (image.bits == 32) return images;
  }
  context.Fail(node, "icon", what + " has no 32-bit image; Windows shows such icons badly");
}

bool HasString(const VersionInfo& version, const std::string& key) {
  for (const auto& string : version.strings) {
    if (string.first == key) return true;
  }
  return false;
}

// In kTextKeys' order whichever manifest gave each string, so that moving a
// key into a shared manifest does not change the installer.
void SetString(VersionInfo& version, const char* key, const std::string& text) {
  auto rank = [](const std::string& name) {
    size_t i = 0;
    while (i < sizeof(kTextKeys) / sizeof(kTextKeys[0]) && name != kTextKeys[i].versionString) ++i;
    return i;
  };
  auto at = version.strings.begin();
  while (at != version.strings.end() && rank(at->first) < rank(key)) ++at;
  if (at != version.strings.end() && at->first == key) {
    at->second = text;
  } else {
    version.strings.insert(at, {key, text});
  }
}

}  // namespace

void ReadBranding(const ManifestContext& manifest, const toml::node& node, Branding& branding) {
  Context context{manifest};
  const toml::table* table = node.as_table();
  if (table == nullptr) manifest.Fail(node, std::string("branding must be a table, not ") + TypeName(node));
  std::vector<std::string> keys = {"icon", "about-url", "help-url"};
  for (const TextKey& known : kTextKeys) keys.push_back(known.key);
  for (auto&& [name, value] : *table) {
    std::string key(name.str());
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
      manifest.Fail(name, "branding " + Quoted(key) + " is not a branding key" +
                              DidYouMean(key, keys,
                                         " (icon, file-version, product-version, product-name, company-name, "
                                         "file-description, copyright, original-filename, about-url, "
                                         "help-url)"));
    }
    branding.places[key] = manifest.Place(name.source());
    if (key == "icon") {
      branding.iconPath = manifest.PathOf("branding \"icon\"", value);
      branding.icon = ReadIcon(context, value, branding.iconPath);
    } else if (key == "about-url" || key == "help-url") {
      std::string text = Text(context, key, value);
      CheckText(context, key, value, text);
      branding.links[key] = text;
    }
  }
  VersionInfo version = branding.version.value_or(VersionInfo());
  for (const TextKey& key : kTextKeys) {
    const toml::node* value = table->get(key.key);
    if (value == nullptr) continue;
    std::string text = Text(context, key.key, *value);
    CheckText(context, key.key, *value, text);
    SetString(version, key.versionString, text);
  }
  // The product version follows the file version unless some manifest gave
  // it, here or in an included one.
  if (const toml::node* value = table->get("file-version")) {
    version.fileVersion = ParseVersion(context, "file-version", *value);
    if (!HasString(version, "ProductVersion")) version.productVersion = version.fileVersion;
  }
  if (const toml::node* value = table->get("product-version")) {
    version.productVersion = ParseVersion(context, "product-version", *value);
  }
  if (!version.strings.empty()) branding.version = version;
}

std::string FinishBranding(Branding& branding) {
  if (!branding.version) return std::string();
  VersionInfo& version = *branding.version;
  if (!HasString(version, "FileVersion")) {
    return "branding has no \"file-version\", so Windows shows the installer's version as 0.0.0.0; give it one";
  }
  // Once every manifest is read: an included one's file version is the
  // default until some manifest gives the product version.
  if (!HasString(version, "ProductVersion")) {
    for (const auto& string : version.strings) {
      if (string.first == "FileVersion") {
        SetString(version, "ProductVersion", string.second);
        break;
      }
    }
  }
  return std::string();
}

}  // namespace vpack
