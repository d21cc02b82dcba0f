// vpack list INSTALLER [--json]
#include <stdio.h>
#include <string.h>

#include <nlohmann/json.hpp>

#include "packager/EngineFormat.h"
#include "payload/ItemLayout.h"
#include "payload/LittleEndian.h"
#include "vpack/base/CodePage.h"
#include "vpack/list/ListCommand.h"
#include "vpack/rules/ContentChecks.h"
#include "vpack/read/InstallerFile.h"
#include "vpack/read/VersionJson.h"
#include "vpack/base/ItemIndex.h"
#include "vpack/manifest/Manifest.h"
#include "vpack/rules/Settings.h"
#include "vpack/rules/StorageRules.h"
#include "vpack/read/StoredLicences.h"
#include "vpack/read/StoredTexts.h"
#include "payload/Languages.h"
#include "vpack/read/StubVersion.h"

namespace vpack {
namespace {

struct ListedItem {
  const packager::Item* item;
  std::string type;  // UTF-8
  std::string name;  // UTF-8
  uint32_t size;
  const char* store;
  int64_t unpacked;  // -1 when only the engine can tell
  std::vector<std::string> lists;
};

// The store follows from how the installer treats the item: program files
// are inflated, tagged files go to the engine, the rest is written as stored.
// Only the bytes that tell are read: the tag, the stated unpacked size.
using ListsByName = std::unordered_map<std::string, std::vector<std::string>>;

ListedItem Describe(const InstallerFile& file, int32_t index, const packager::Item& item, const ListsByName& lists,
                    const CodePage& page) {
  uint32_t size = file.Entry(index).size;
  ListedItem out{&item, page.ToUtf8(item.type), page.ToUtf8(item.name), size, "raw", static_cast<int64_t>(size), {}};
  if (!IsFileItem(item)) return out;
  if (IsPackedName(item.name)) {
    out.store = "zlib";
    packager::Bytes tail = file.ReadTail(index, payload::kZlibItemTrailerSize);
    out.unpacked = tail.size() == payload::kZlibItemTrailerSize ? payload::ZlibItemStatedSize(tail.data()) : -1;
  } else {
    packager::Bytes head = file.ReadHead(index, payload::kEngineTagSize);
    if (payload::HasEngineTag(head.data(), head.size())) {
      out.store = "engine";
      out.unpacked = -1;
    }
  }
  auto found = lists.find(NameKey(item.name));
  if (found != lists.end()) out.lists = found->second;
  return out;
}

// A setting as list shows it: its value, read as the installer reads it;
// null (and "?") when the installer would refuse it (damaged, or longer
// than it reads).
struct ListedSetting {
  std::string name;
  nlohmann::ordered_json value;
};

std::vector<ListedSetting> Settings(const InstallerFile& file, const CodePage& page) {
  std::vector<ListedSetting> settings;
  for (const SettingInfo& info : KnownSettings()) {
    if (!file.Reader().Contains(info.name, payload::kTypeAppData)) continue;
    std::optional<packager::Bytes> data = file.ReadSetting(info.name, SettingWidth(info.kind));
    nlohmann::ordered_json value;
    if (!data) {
      value = nullptr;
    } else if (info.kind == SettingKind::kNumber) {
      value = payload::ReadLittleEndian32(data->data());
    } else if (info.kind == SettingKind::kFlag) {
      value = (*data)[0];
    } else {
      std::string text(data->begin(), data->end());
      value = page.ToUtf8(text.substr(0, text.find('\0')));
    }
    settings.push_back({info.name, value});
  }
  return settings;
}

// The texts the installer shows in place of the English, by key; null (and
// "?") for one it would pass over. Items named by no text's number are in
// the items alone.
std::vector<ListedSetting> Texts(const InstallerFile& file, const CodePage& page) {
  std::vector<ListedSetting> shown;
  for (const StoredText& text : StoredTexts(file, page)) {
    if (!text.id) continue;
    nlohmann::ordered_json value = text.problem.empty() ? nlohmann::ordered_json(text.text) : nullptr;
    shown.push_back({texts::Key(*text.id), value});
  }
  return shown;
}

// Each language with the texts the stub takes from it, as list --json shows
// them: by key, null for one it would pass over.
nlohmann::ordered_json LanguagesJson(const InstallerFile& file) {
  nlohmann::ordered_json languages = nlohmann::ordered_json::object();
  for (const StoredLanguage& language : StoredLanguages(file)) {
    nlohmann::ordered_json shown = nlohmann::ordered_json::object();
    for (const StoredText& text : language.texts) {
      if (text.id) shown[texts::Key(*text.id)] = text.problem.empty() ? nlohmann::ordered_json(text.text) : nullptr;
    }
    const payload::Language* known = payload::FindLanguage(language.tag.c_str());
    languages[language.tag] = {{"id", language.id},
                               {"name", known != nullptr ? nlohmann::ordered_json(known->name) : nullptr},
                               {"default", language.isDefault},
                               {"readable", language.intact && language.problem.empty()},
                               {"texts", shown}};
  }
  return languages;
}

struct Listing {
  int64_t stubSize;
  unsigned codePage;  // the names and texts are shown as read in it
  std::optional<VersionInfo> version;
  std::vector<ListedSetting> settings;
  std::vector<ListedSetting> texts;
  nlohmann::ordered_json languages;
  nlohmann::ordered_json licences;  // tag to bytes and whether the stub can show it
  std::vector<ListedItem> items;
};

void PrintJson(const Listing& listing) {
  nlohmann::ordered_json items = nlohmann::ordered_json::array();
  for (const ListedItem& d : listing.items) {
    nlohmann::ordered_json row;
    row["type"] = d.type;
    row["name"] = d.name;
    row["store"] = d.store;
    row["size"] = d.size;
    row["unpacked"] = d.unpacked < 0 ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(d.unpacked);
    row["lists"] = d.lists;
    items.push_back(row);
  }
  nlohmann::ordered_json settings = nlohmann::ordered_json::object();
  for (const ListedSetting& setting : listing.settings) settings[setting.name] = setting.value;
  nlohmann::ordered_json texts = nlohmann::ordered_json::object();
  for (const ListedSetting& text : listing.texts) texts[text.name] = text.value;
  nlohmann::ordered_json all;
  all["stub"] = listing.stubSize;
  all["code-page"] = listing.codePage;
  all["version"] = VersionJson(listing.version);
  all["settings"] = settings;
  all["texts"] = texts;
  all["languages"] = listing.languages;
  all["licences"] = listing.licences;
  all["items"] = items;
  // The version's strings come from the stub's UTF-16, which need not be
  // valid (a lone surrogate); JSON must be.
  printf("%s\n", all.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace).c_str());
}

void PrintTable(const Listing& listing) {
  printf("stub: %lld bytes\n", static_cast<long long>(listing.stubSize));
  printf("code page: %u\n", listing.codePage);
  if (listing.version) {
    printf("version: file %s, product %s\n", VersionText(listing.version->fileVersion).c_str(),
           VersionText(listing.version->productVersion).c_str());
    for (const auto& [key, value] : listing.version->strings) printf("  %s: %s\n", key.c_str(), value.c_str());
  }
  for (const ListedSetting& setting : listing.settings) {
    std::string value = setting.value.is_null()     ? "?"
                        : setting.value.is_string() ? "\"" + setting.value.get<std::string>() + "\""
                                                    : setting.value.dump();
    printf("setting: %s = %s\n", setting.name.c_str(), value.c_str());
  }
  // Escaped as in JSON, so that a text of several lines stays on one.
  for (const ListedSetting& text : listing.texts) {
    printf("text: %s = %s\n", text.name.c_str(), text.value.is_null() ? "?" : text.value.dump().c_str());
  }
  for (const auto& [tag, language] : listing.languages.items()) {
    char id[8];
    snprintf(id, sizeof(id), "0x%04X", language["id"].get<unsigned>());
    printf("language: %s (%s, %s)%s%s, %zu texts\n", tag.c_str(),
           language["name"].is_null() ? "unknown" : language["name"].get<std::string>().c_str(), id,
           language["default"].get<bool>() ? ", default" : "", language["readable"].get<bool>() ? "" : ", unreadable",
           language["texts"].size());
    for (const auto& [key, text] : language["texts"].items()) {
      printf("text: %s %s = %s\n", tag.c_str(), key.c_str(), text.is_null() ? "?" : text.dump().c_str());
    }
  }
  for (const auto& [tag, licence] : listing.licences.items()) {
    printf("licence: %s, %llu bytes%s\n", tag == "*" ? "* (every language without its own)" : tag.c_str(),
           licence["bytes"].get<unsigned long long>(), licence["readable"].get<bool>() ? "" : ", unreadable");
  }
  printf("%-12s %-6s %10s %10s  %-16s %s\n", "type", "store", "size", "unpacked", "lists", "name");
  for (const ListedItem& d : listing.items) {
    std::string lists;
    for (const std::string& list : d.lists) lists += (lists.empty() ? "" : ",") + list;
    std::string unpacked = d.unpacked < 0 ? "-" : std::to_string(d.unpacked);
    printf("%-12s %-6s %10u %10s  %-16s %s\n", d.type.c_str(), d.store, d.size, unpacked.c_str(),
           lists.empty() ? "-" : lists.c_str(), d.name.c_str());
  }
}

}  // namespace

int List(const std::string& installer, bool json, unsigned codePage) {
  InstallerFile file(installer);
  CodePage page(file.CodePageOf(codePage));
  std::vector<packager::Item> items = file.HeldItems();
  std::vector<std::string> unreadable;
  ListsByName lists;
  for (const ListedName& entry : ReadLists(items, unreadable)) {
    lists[NameKey(entry.name)].push_back(ListLabel(entry.list));
  }
  Listing listing;
  for (size_t i = 0; i < items.size(); ++i) {
    listing.items.push_back(Describe(file, static_cast<int32_t>(i), items[i], lists, page));
  }
  listing.stubSize = file.Reader().MarkerOffset();
  listing.codePage = page.Number();
  listing.version = StubVersion(installer, static_cast<uint64_t>(listing.stubSize));
  listing.settings = Settings(file, page);
  listing.texts = Texts(file, page);
  listing.languages = LanguagesJson(file);
  listing.licences = nlohmann::ordered_json::object();
  for (const StoredLicence& licence : StoredLicences(file)) {
    listing.licences[licence.tag] = {{"bytes", licence.bytes}, {"readable", licence.problem.empty()}};
  }
  if (json) {
    PrintJson(listing);
  } else {
    PrintTable(listing);
  }
  return 0;
}

}  // namespace vpack
