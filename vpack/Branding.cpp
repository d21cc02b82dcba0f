// The [branding] table of the manifest:
//
//   [branding]
//   icon = "art/tour.ico"               # .ico with a 32-bit image
//   file-version = "1.4.0.12"           # four numbers, each 0 .. 65535
//   product-version = "1.4.0.0"         # default: the file version
//   product-name = "Harbour Tour"
//   company-name = "Vandrel Tours"
//   file-description = "Harbour Tour Setup"
//   copyright = "© 2026 Vandrel Tours"
//   original-filename = "HarbourTourSetup.exe"
#include "vpack/Branding.h"

#include "vpack/Error.h"
#include "vpack/PayloadAssembly.h"

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

struct Context {
  std::string path;
  [[noreturn]] void Fail(const std::string& key, const std::string& problem) const {
    throw Error(path + ": branding " + Quoted(key) + " " + problem);
  }
};

std::string Text(const Context& context, const std::string& key, const toml::node& node) {
  const toml::value<std::string>* value = node.as_string();
  if (value == nullptr) context.Fail(key, "must be a string");
  return value->get();
}

FourPartVersion ParseVersion(const Context& context, const std::string& key, const std::string& text) {
  FourPartVersion version{};
  size_t at = 0;
  for (size_t part = 0; part < 4; ++part) {
    size_t end = at;
    while (end < text.size() && end - at < 6 && text[end] >= '0' && text[end] <= '9') ++end;
    bool separated = part == 3 ? end == text.size() : end < text.size() && text[end] == '.';
    if (end == at || !separated || std::stoul(text.substr(at, end - at)) > 0xFFFF) {
      context.Fail(key, "is " + Quoted(text) + "; it must be four numbers a.b.c.d, each 0 .. 65535");
    }
    version[part] = static_cast<uint16_t>(std::stoul(text.substr(at, end - at)));
    at = end + 1;
  }
  return version;
}

void CheckText(const Context& context, const std::string& key, const std::string& text) {
  if (text.find('\0') != std::string::npos) context.Fail(key, "contains a NUL character");
  size_t units = 0;
  try {
    units = Utf16FromUtf8(text).size();
  } catch (const Error& e) {
    context.Fail(key, e.what());
  }
  if (units > kMaxVersionText) {
    context.Fail(key, "is " + std::to_string(units) + " characters long; at most " +
                          std::to_string(kMaxVersionText) + " fit");
  }
}

std::vector<IconImage> ReadIcon(const Context& context, const std::string& given, const std::string& path) {
  std::string what = Quoted(given);
  ByteVector file = ReadWholeFile(path, context.path + ": branding \"icon\"");
  if (file.size() > kMaxIconFileBytes) {
    context.Fail("icon", what + " is " + std::to_string(file.size()) + " bytes; at most " +
                             std::to_string(kMaxIconFileBytes) + " fit before the payload search's reach");
  }
  std::vector<IconImage> images;
  try {
    images = ReadIconFile(file);
  } catch (const Error& e) {
    context.Fail("icon", what + " " + e.what());
  }
  if (images.size() > kMaxIconImages) {
    context.Fail("icon", what + " holds " + std::to_string(images.size()) + " images; at most " +
                             std::to_string(kMaxIconImages) + " fit");
  }
  for (const IconImage& image : images) {
    if (image.bits == 32) return images;
  }
  context.Fail("icon", what + " has no 32-bit image; Windows shows such icons badly");
}

}  // namespace

Branding ReadBranding(const toml::node& node, const std::string& manifestPath, const std::filesystem::path& folder) {
  Context context{manifestPath};
  const toml::table* table = node.as_table();
  if (table == nullptr) throw Error(manifestPath + ": branding must be a table");
  Branding branding;
  VersionInfo version;
  for (auto&& [name, value] : *table) {
    std::string key(name.str());
    const TextKey* text = nullptr;
    for (const TextKey& candidate : kTextKeys) {
      if (key == candidate.key) text = &candidate;
    }
    if (key == "icon") {
      std::filesystem::path given(Text(context, key, value));
      branding.icon = ReadIcon(context, given.string(), given.is_relative() ? (folder / given).string() : given.string());
    } else if (text == nullptr) {
      context.Fail(key, "is not a branding key (icon, file-version, product-version, product-name, company-name, "
                        "file-description, copyright, original-filename)");
    }
  }
  for (const TextKey& key : kTextKeys) {
    const toml::node* value = table->get(key.key);
    if (value == nullptr) continue;
    std::string text = Text(context, key.key, *value);
    CheckText(context, key.key, text);
    version.strings.emplace_back(key.versionString, text);
  }
  if (const toml::node* value = table->get("file-version")) {
    version.fileVersion = version.productVersion = ParseVersion(context, "file-version", Text(context, "", *value));
  }
  if (const toml::node* value = table->get("product-version")) {
    version.productVersion = ParseVersion(context, "product-version", Text(context, "", *value));
  }
  if (!version.strings.empty()) branding.version = version;
  return branding;
}

}  // namespace vpack
