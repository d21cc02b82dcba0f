#include "vpack/rules/ContentChecks.h"

#include <string.h>

#include <iterator>
#include <set>


#include "payload/EngineFiles.h"
#include "payload/InstalledNames.h"
#include "payload/ItemName.h"
#include "payload/ListEntries.h"
#include "payload/LittleEndian.h"
#include "payload/PayloadFormat.h"
#include "payload/ProjectTypes.h"
#include "payload/RuntimeFiles.h"
#include "payload/TextItems.h"
#include "vpack/base/Error.h"
#include "vpack/base/ItemIndex.h"
#include "vpack/rules/Settings.h"
#include "vpack/rules/StorageRules.h"

namespace vpack {
namespace {

// The types the stub's table knows, joined for a message ("1, 2 and 5").
std::string KnownTypes() {
  std::string known;
  size_t count = std::size(payload::kProjectTypes);
  for (size_t i = 0; i < count; ++i) {
    known += (i == 0 ? "" : (i + 1 == count ? " and " : ", ")) + std::to_string(payload::kProjectTypes[i].type);
  }
  return known;
}

using packager::Item;
using packager::ListKind;
using Problems = std::vector<std::string>;

// A setting's or list item's size: of a larger one only the first bytes are
// held (InstallerFile::HeldItems).
std::string SizeText(const packager::Bytes& data) {
  return data.size() > kHeldItemBytes ? "more than " + std::to_string(kHeldItemBytes) : std::to_string(data.size());
}

// A 4-byte number item; false (with a problem) when missing or of another size.
bool ReadNumber(const ItemIndex& items, const std::string& type, const std::string& name, uint32_t* value,
                Problems& problems) {
  const Item* item = items.Find(type, name);
  std::string label = ItemLabel(type, name);
  if (item == nullptr) {
    problems.push_back(label + ": missing");
  } else if (item->data.size() != 4) {
    problems.push_back(label + ": " + SizeText(item->data) + " bytes; the installer reads 4");
  } else {
    *value = payload::ReadLittleEndian32(item->data.data());
    return true;
  }
  return false;
}

void CheckSettingWidths(const ItemIndex& items, Problems& problems) {
  for (const SettingInfo& info : KnownSettings()) {
    const Item* item = items.Find(payload::kTypeAppData, info.name);
    if (item == nullptr || info.kind == SettingKind::kNumber) continue;
    uint32_t width = SettingWidth(info.kind);
    std::string label = ItemLabel(payload::kTypeAppData, info.name);
    if (item->data.size() != width) {
      problems.push_back(label + ": " + SizeText(item->data) + " bytes; the installer reads " +
                         std::to_string(width));
    } else if (info.kind == SettingKind::kText && item->data.back() != 0) {
      problems.push_back(label + ": text not terminated within its " + std::to_string(width) + " bytes");
    }
  }
}

void RequireFile(const ItemIndex& items, const char* name, const std::string& why, Problems& problems) {
  if (items.Find(payload::kTypeAppData, name) == nullptr) {
    problems.push_back(ItemLabel(payload::kTypeAppData, name) + ": missing; " + why);
  }
}

// The settings and program files the flow of the project type reads.
void CheckProjectType(const ItemIndex& items, Problems& problems) {
  CheckSettingWidths(items, problems);
  uint32_t projectType = 0;
  if (!ReadNumber(items, payload::kTypeAppData, kProjectType, &projectType, problems)) return;
  const payload::RuntimeFiles* runtime = payload::FindRuntimeFiles(projectType);
  if (payload::FindProjectType(projectType) == nullptr || runtime == nullptr) {
    problems.push_back(ItemLabel(payload::kTypeAppData, kProjectType) + ": " + std::to_string(projectType) +
                       ", a type the installer ignores: it ends without a word (it knows " + KnownTypes() + ")");
    return;
  }
  std::string needs = "project type " + std::to_string(projectType) + " needs it";
  for (const char* name : RequiredSettings(projectType)) RequireFile(items, name, needs, problems);
  for (uint32_t i = 0; i < runtime->count; ++i) RequireFile(items, runtime->names[i], needs, problems);
  for (const payload::EngineFile& file : payload::kEngineFiles) {
    RequireFile(items, file.name, "every project type extracts it", problems);
  }
}

// A list entry as the installer copies it: a name terminated within the
// field. Empty when it is not.
std::string ListEntryName(const Item& entry, Problems& problems) {
  // The installer reads an entry into a field of this size and refuses one
  // that is larger.
  if (entry.data.size() > payload::kListNameSize) {
    problems.push_back(ItemLabel(entry.type, entry.name) + ": " + SizeText(entry.data) +
                       " bytes; at most " + std::to_string(payload::kListNameSize) + " fit");
    return std::string();
  }
  const void* end = memchr(entry.data.data(), 0, entry.data.size());
  if (end == nullptr) {
    problems.push_back(ItemLabel(entry.type, entry.name) + ": name not terminated within " +
                       std::to_string(payload::kListNameSize) + " bytes");
    return std::string();
  }
  return std::string(reinterpret_cast<const char*>(entry.data.data()), static_cast<const uint8_t*>(end) - entry.data.data());
}

// Reads one list as the installer does (payload/ListEntries.h) and adds
// the names it holds to listed.
void ReadList(const std::vector<Item>& all, const ItemIndex& items, ListKind kind, std::vector<ListedName>& listed,
              Problems& problems) {
  uint32_t count = 0;
  if (!ReadNumber(items, packager::ListType(kind), packager::ListCountName(kind), &count, problems)) return;
  std::string prefix = packager::ListEntryPrefix(kind);
  std::set<int32_t> visited;
  for (const Item& item : all) {
    int32_t index = payload::VisitedListIndex(item.name.c_str(), prefix.c_str(), static_cast<int32_t>(count));
    if (index >= 0 && SameItemName(item.type, packager::ListType(kind))) visited.insert(index);
  }
  for (int32_t i : visited) {
    // The first entry of the name, as the installer reads it.
    const Item* entry = items.Find(packager::ListType(kind), prefix + std::to_string(i));
    std::string name = ListEntryName(*entry, problems);
    if (name.empty()) continue;
    listed.push_back({kind, name});
    std::string held = HeldFileProblem(name);
    if (!held.empty()) problems.push_back(ItemLabel(entry->type, entry->name) + ": " + held);
    // The installer passes over an entry whose file is not there.
    if (items.Find(payload::kTypeAppData, name) == nullptr) {
      problems.push_back(ItemLabel(entry->type, entry->name) + ": names " + Quoted(name) +
                         ", which is not in the payload");
    }
  }
}

std::vector<ListedName> ListedNames(const std::vector<Item>& all, const ItemIndex& index, Problems& problems) {
  std::vector<ListedName> listed;
  for (ListKind kind : {ListKind::kChannels, ListKind::kChannelModules, ListKind::kProjectFiles}) {
    ReadList(all, index, kind, listed, problems);
  }
  return listed;
}

// The installer looks items up by type and name, case ignored, and reads the
// first of a name; Windows writes two names that differ in case or in the
// kind of slash to one file.
void CheckDuplicates(const std::vector<Item>& items, Problems& problems) {
  std::unordered_map<std::string, size_t> names, files;
  for (size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    auto named = names.emplace(NameKey(item.type) + '\0' + NameKey(item.name), i);
    if (!named.second) {
      problems.push_back(ItemLabel(item.type, item.name) + ": entry " + std::to_string(i) + " has the type and name of " +
                         "entry " + std::to_string(named.first->second) + " (case aside); the installer reads only the first");
      continue;
    }
    if (!IsFileItem(item)) continue;
    auto file = files.emplace(NameKey(CanonicalName(item.name)), i);
    if (!file.second) {
      const Item& other = items[file.first->second];
      problems.push_back(ItemLabel(item.type, item.name) + ": the same file on Windows as " +
                         ItemLabel(other.type, other.name) + "; the installation writes both to it");
    }
  }
}

// A file's name is joined to the installation folder as it is.
void CheckFileName(const Item& item, unsigned codePage, Problems& problems) {
  if (!payload::IsSafeItemName(item.name.c_str(), codePage)) {
    problems.push_back(ItemLabel(item.type, item.name) + ": a name the installer refuses (\"..\" or \":\")");
  } else if (!payload::IsWindowsFileName(item.name.c_str(), codePage)) {
    problems.push_back(ItemLabel(item.type, item.name) + ": a name Windows cannot create as a file");
  }
  std::string beside = BesideNameProblem(item.name);
  if (!beside.empty()) problems.push_back(ItemLabel(item.type, item.name) + ": " + beside);
}

}  // namespace

WrittenForms::WrittenForms(const std::vector<ListedName>& listed) {
  for (const ListedName& entry : listed) {
    bool& decode = decoded_[NameKey(entry.name)];
    decode = decode || !IsCopiedProjectFile(entry.name, entry.list);
    if (entry.list == ListKind::kChannelModules) channelModules_.insert(NameKey(entry.name));
  }
}

Written WrittenForms::Of(const std::string& name) const {
  if (IsPackedName(name)) return Written::kInflated;
  auto found = decoded_.find(NameKey(name));
  return found != decoded_.end() && found->second ? Written::kDecoded : Written::kAsStored;
}

bool WrittenForms::IsListed(const std::string& name) const { return decoded_.count(NameKey(name)) != 0; }

bool WrittenForms::IsChannelModule(const std::string& name) const {
  return channelModules_.count(NameKey(name)) != 0;
}

bool IsFileItem(const Item& item) {
  if (!SameItemName(item.type, payload::kTypeAppData)) return false;
  for (const SettingInfo& info : KnownSettings()) {
    if (SameItemName(item.name, info.name)) return false;
  }
  return true;
}

std::string BesideNameProblem(const std::string& name) {
  if (!payload::EndsWithBesideSuffix(name.c_str())) return std::string();
  return std::string("the name ends in \"") + payload::kBesideSuffix +
         "\", which the installer gives the new copy of a file it writes beside the earlier one: it would remove "
         "this file as one left by an interrupted installation";
}

std::string HeldFileProblem(const std::string& name) {
  std::string file = CanonicalName(name);
  size_t start = file.find_first_not_of('\\');
  if (start == std::string::npos || NameKey(file.substr(start)) != NameKey(payload::kEngineFiles[0].name)) {
    return std::string();
  }
  return std::string("names ") + Quoted(payload::kEngineFiles[0].name) +
         ", the engine, which the installation has loaded by the time it writes the lists: it cannot be written over";
}

// A text item's name is a number; its key says which text a publisher gave.
std::string ItemLabel(const std::string& type, const std::string& name) {
  texts::Id id;
  if (SameItemName(type, payload::kTypeText) && payload::TextOfItem(name.c_str(), &id)) {
    return type + " " + Quoted(name) + " (" + texts::Key(id) + ")";
  }
  return type + " " + Quoted(name);
}

std::vector<ListedName> ReadLists(const std::vector<Item>& items, Problems& problems) {
  return ListedNames(items, ItemIndex(items), problems);
}

std::vector<std::string> CheckContents(const std::vector<Item>& items, unsigned codePage) {
  Problems problems;
  ItemIndex index(items);
  CheckDuplicates(items, problems);
  CheckProjectType(index, problems);
  ListedNames(items, index, problems);
  for (const Item& item : items) {
    if (IsFileItem(item)) CheckFileName(item, codePage, problems);
  }
  return problems;
}

}  // namespace vpack
