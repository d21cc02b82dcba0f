#include "vpack/ContentChecks.h"

#include <string.h>

#include "packager/EngineFormat.h"
#include "payload/PayloadFormat.h"
#include "vpack/Error.h"
#include "vpack/Settings.h"
#include "vpack/StorageRules.h"
#include "vpack/ZlibCheck.h"

namespace vpack {
namespace {

using packager::Item;
using packager::ListKind;
using Problems = std::vector<std::string>;

// The first match, as the installer finds items.
const Item* FindItem(const std::vector<Item>& items, const std::string& type, const std::string& name) {
  for (const Item& item : items) {
    if (SameItemName(item.type, type) && SameItemName(item.name, name)) return &item;
  }
  return nullptr;
}

uint32_t U32At(const packager::Bytes& data) {
  return data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
}

// A 4-byte number item; false (with a problem) when missing or of another size.
bool ReadNumber(const std::vector<Item>& items, const std::string& type, const std::string& name, uint32_t* value,
                Problems& problems) {
  const Item* item = FindItem(items, type, name);
  std::string label = ItemLabel(type, name);
  if (item == nullptr) {
    problems.push_back(label + ": missing");
  } else if (item->data.size() != 4) {
    problems.push_back(label + ": " + std::to_string(item->data.size()) + " bytes; the installer reads 4");
  } else {
    *value = U32At(item->data);
    return true;
  }
  return false;
}

void CheckSettingWidths(const std::vector<Item>& items, Problems& problems) {
  for (const SettingInfo& info : KnownSettings()) {
    const Item* item = FindItem(items, payload::kTypeAppData, info.name);
    if (item == nullptr || info.kind == SettingKind::kNumber) continue;
    uint32_t width = SettingWidth(info.kind);
    std::string label = ItemLabel(payload::kTypeAppData, info.name);
    if (item->data.size() != width) {
      problems.push_back(label + ": " + std::to_string(item->data.size()) + " bytes; the installer reads " +
                         std::to_string(width));
    } else if (info.kind == SettingKind::kText && item->data.back() != 0) {
      problems.push_back(label + ": text not terminated within its " + std::to_string(width) + " bytes");
    }
  }
}

void CheckSettings(const std::vector<Item>& items, Problems& problems) {
  CheckSettingWidths(items, problems);
  uint32_t projectType = 0;
  if (!ReadNumber(items, payload::kTypeAppData, kProjectType, &projectType, problems)) return;
  for (const char* name : RequiredSettings(projectType)) {
    if (FindItem(items, payload::kTypeAppData, name) == nullptr) {
      problems.push_back(ItemLabel(payload::kTypeAppData, name) + ": missing; project type " +
                         std::to_string(projectType) + " needs it");
    }
  }
}

// A list entry as the installer copies it: a name terminated within the
// field. Empty when it is not.
std::string ListEntryName(const Item& entry, Problems& problems) {
  // The installer reads an entry into a field of this size and refuses one
  // that is larger.
  if (entry.data.size() > payload::kListNameSize) {
    problems.push_back(ItemLabel(entry.type, entry.name) + ": " + std::to_string(entry.data.size()) +
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

// Checks one list and adds the names it holds to listed.
void CheckList(const std::vector<Item>& items, ListKind kind, std::vector<std::string>& listed, Problems& problems) {
  uint32_t count = 0;
  if (!ReadNumber(items, packager::ListType(kind), packager::ListCountName(kind), &count, problems)) return;
  // A damaged count must not turn into billions of "missing" lines.
  if (count > items.size()) {
    problems.push_back(ItemLabel(packager::ListType(kind), packager::ListCountName(kind)) + ": " +
                       std::to_string(count) + " entries, more than the payload's " + std::to_string(items.size()) +
                       " items");
    return;
  }
  for (uint32_t i = 0; i < count; ++i) {
    std::string entryName = packager::ListEntryPrefix(kind) + std::to_string(i);
    const Item* entry = FindItem(items, packager::ListType(kind), entryName);
    if (entry == nullptr) {
      problems.push_back(ItemLabel(packager::ListType(kind), entryName) + ": missing; the count says " +
                         std::to_string(count));
      continue;
    }
    std::string name = ListEntryName(*entry, problems);
    if (!name.empty()) listed.push_back(name);
  }
}

// The installer writes a project file named ".cgr" (in that case, anywhere
// in the name) as it is stored, so it may be in any format.
bool IsStoredProjectFile(const std::string& name, const std::vector<std::string>& projectFiles) {
  if (name.find(".cgr") == std::string::npos) return false;
  for (const std::string& entry : projectFiles) {
    if (SameItemName(entry, name)) return true;
  }
  return false;
}

bool IsListed(const std::vector<std::string>& listed, const std::string& name) {
  for (const std::string& entry : listed) {
    if (SameItemName(entry, name)) return true;
  }
  return false;
}

// The installer inflates files by name; the files the engine loads must
// already carry the engine's tag. The name decides before any list does.
void CheckFiles(const std::vector<Item>& items, const std::vector<std::string>& listed,
                const std::vector<std::string>& projectFiles, Problems& problems) {
  for (const Item& item : items) {
    if (!SameItemName(item.type, payload::kTypeAppData)) continue;
    std::string label = ItemLabel(item.type, item.name);
    if (IsPackedName(item.name)) {
      std::string problem = ZlibProblem(item.data);
      if (!problem.empty()) problems.push_back(label + ": " + problem);
    } else if ((IsListed(listed, item.name) && !IsStoredProjectFile(item.name, projectFiles)) ||
               IsStartFile(item.name)) {
      bool tagged = item.data.size() >= 4 && memcmp(item.data.data(), packager::kEngineTag, 4) == 0;
      if (!tagged) problems.push_back(label + ": not in the engine format (no \"MRVF\" tag)");
    }
  }
}

}  // namespace

std::string ItemLabel(const std::string& type, const std::string& name) { return type + " " + Quoted(name); }

std::vector<std::string> CheckContents(const std::vector<Item>& items) {
  Problems problems;
  CheckSettings(items, problems);
  std::vector<std::string> listed;
  for (ListKind kind : {ListKind::kChannels, ListKind::kChannelModules}) CheckList(items, kind, listed, problems);
  std::vector<std::string> projectFiles;
  CheckList(items, ListKind::kProjectFiles, projectFiles, problems);
  listed.insert(listed.end(), projectFiles.begin(), projectFiles.end());
  CheckFiles(items, listed, projectFiles, problems);
  return problems;
}

}  // namespace vpack
