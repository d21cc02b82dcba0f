#include "vpack/manifest/ManifestLicence.h"

#include <algorithm>

#include "payload/Languages.h"
#include "payload/Licence.h"
#include "vpack/base/Error.h"
#include "vpack/base/InputFile.h"
#include "vpack/pe/VersionResource.h"
#include "vpack/base/CodePage.h"

namespace vpack {
namespace {

void AddLicence(const ManifestContext& context, const std::string& tag, const toml::node& node, Manifest& manifest) {
  std::string what = tag == payload::kLicenceForAll ? "licence" : "licence " + Quoted(tag);
  LicenceSpec licence{tag, context.PathOf(what, node), context.Entry(node, what), {}};
  auto same = std::find_if(manifest.licences.begin(), manifest.licences.end(),
                           [&tag](const LicenceSpec& l) { return l.tag == tag; });
  if (same != manifest.licences.end()) {
    *same = licence;
  } else {
    manifest.licences.push_back(licence);
  }
}

// As the edit box shows it: UTF-8 without a byte-order mark, every line
// ending CRLF.
std::string AsShown(const std::string& text) {
  std::string shown;
  size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  for (size_t i = start; i < text.size(); ++i) {
    if (text[i] == '\r') continue;
    if (text[i] == '\n') shown += '\r';
    shown += text[i];
  }
  return shown;
}

void ReadOne(LicenceSpec& licence) {
  packager::Bytes bytes = ReadWholeFile(licence.path, licence.entry + ": file");
  std::string text = AsShown(std::string(bytes.begin(), bytes.end()));
  if (InvalidUtf8At(text) != std::string::npos) throw Error(licence.entry + ": " + Quoted(licence.path) + " is not UTF-8: save it as UTF-8");
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    throw Error(licence.entry + ": " + Quoted(licence.path) + " is empty");
  }
  if (text.find('\0') != std::string::npos) throw Error(licence.entry + ": " + Quoted(licence.path) + " holds a NUL");
  // Stored in UTF-16LE with its terminator, as the installer shows it.
  licence.stored.clear();
  for (char16_t unit : Utf16FromUtf8(text) + u'\0') {
    licence.stored.push_back(static_cast<uint8_t>(unit));
    licence.stored.push_back(static_cast<uint8_t>(unit >> 8));
  }
  if (licence.stored.size() > payload::kMaxLicenceBytes) {
    throw Error(licence.entry + ": " + Quoted(licence.path) + " takes " + std::to_string(licence.stored.size()) +
                " bytes in UTF-16 with CRLF line ends; at most " + std::to_string(payload::kMaxLicenceBytes) + " fit");
  }
}

bool Carried(const Manifest& manifest, const std::string& tag) {
  return tag == "en" || std::any_of(manifest.languages.begin(), manifest.languages.end(),
                                    [&tag](const LanguageTexts& l) { return l.tag == tag; });
}

}  // namespace

void ParseLicence(const ManifestContext& context, const toml::node& node, Manifest& manifest) {
  const toml::table* table = node.as_table();
  if (table == nullptr) {
    if (!node.is_string()) {
      context.Fail(node, std::string("licence must be a file's path or a table of languages, not ") + TypeName(node));
    }
    manifest.licences.clear();
    AddLicence(context, payload::kLicenceForAll, node, manifest);
    return;
  }
  for (auto&& [key, value] : *table) {
    std::string tag(key.str());
    if (payload::FindLanguage(tag.c_str()) == nullptr) {
      context.Fail(key, "licence names " + Quoted(tag) + ", which is no language vpack knows");
    }
    if (!value.is_string()) context.Fail(value, "licence " + Quoted(tag) + " must be a file's path");
    AddLicence(context, tag, value, manifest);
  }
}

void ReadLicences(Manifest& manifest) {
  if (manifest.licences.empty()) return;
  bool forAll = manifest.licences.size() == 1 && manifest.licences[0].tag == payload::kLicenceForAll;
  if (!forAll) {
    auto fallback = std::find_if(manifest.licences.begin(), manifest.licences.end(),
                                 [&](const LicenceSpec& l) { return l.tag == manifest.defaultLanguage; });
    if (fallback == manifest.licences.end()) {
      throw Error(manifest.licences[0].entry + ": no licence for the default language " +
                  Quoted(manifest.defaultLanguage) + ", which every user of a language without one is shown");
    }
    for (const LicenceSpec& licence : manifest.licences) {
      if (!Carried(manifest, licence.tag)) {
        throw Error(licence.entry + ": the installer carries no texts in " + Quoted(licence.tag) +
                    ", so no user would be shown it");
      }
    }
    fallback->tag = payload::kLicenceForAll;
  }
  for (LicenceSpec& licence : manifest.licences) ReadOne(licence);
}

}  // namespace vpack
