// vpack list INSTALLER [--json]
#include <stdio.h>
#include <string.h>

#include <nlohmann/json.hpp>

#include "packager/EngineFormat.h"
#include "payload/Inflate.h"
#include "vpack/CodePage.h"
#include "vpack/Commands.h"
#include "vpack/ContentChecks.h"
#include "vpack/InstallerFile.h"
#include "vpack/ItemIndex.h"
#include "vpack/Manifest.h"
#include "vpack/StorageRules.h"
#include "vpack/StubBranding.h"

namespace vpack {
namespace {

struct ListedItem {
  const packager::Item* item;
  std::string name;  // UTF-8
  const char* store;
  int64_t unpacked;  // -1 when only the engine can tell
  std::vector<std::string> lists;
};

// The store follows from how the installer treats the item: program files
// are inflated, tagged files go to the engine, the rest is written as stored.
using ListsByName = std::unordered_map<std::string, std::vector<std::string>>;

ListedItem Describe(const packager::Item& item, const ListsByName& lists, const CodePage& page) {
  ListedItem out{&item, page.ToUtf8(item.name), "raw", static_cast<int64_t>(item.data.size()), {}};
  uint32_t stated = 0;
  if (IsFileItem(item) && IsPackedName(item.name)) {
    out.store = "zlib";
    bool known = payload::ZlibItemSize(item.data.data(), static_cast<uint32_t>(item.data.size()), &stated);
    out.unpacked = known ? stated : -1;
  } else if (IsFileItem(item) && item.data.size() >= 4 && memcmp(item.data.data(), packager::kEngineTag, 4) == 0) {
    out.store = "engine";
    out.unpacked = -1;
  }
  auto found = lists.find(NameKey(item.name));
  if (IsFileItem(item) && found != lists.end()) out.lists = found->second;
  return out;
}

void PrintJson(int64_t stubSize, const std::vector<std::string>& version, const std::vector<ListedItem>& described) {
  nlohmann::ordered_json items = nlohmann::ordered_json::array();
  for (const ListedItem& d : described) {
    nlohmann::ordered_json row;
    row["type"] = d.item->type;
    row["name"] = d.name;
    row["store"] = d.store;
    row["size"] = d.item->data.size();
    row["unpacked"] = d.unpacked < 0 ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(d.unpacked);
    row["lists"] = d.lists;
    items.push_back(row);
  }
  nlohmann::ordered_json all;
  all["stub"] = stubSize;
  all["version"] = version;
  all["items"] = items;
  printf("%s\n", all.dump(2).c_str());
}

void PrintTable(int64_t stubSize, const std::vector<std::string>& version, const std::vector<ListedItem>& described) {
  printf("stub: %lld bytes\n", static_cast<long long>(stubSize));
  for (const std::string& line : version) printf("%s\n", line.c_str());
  printf("%-12s %-6s %10s %10s  %-16s %s\n", "type", "store", "size", "unpacked", "lists", "name");
  for (const ListedItem& d : described) {
    std::string lists;
    for (const std::string& list : d.lists) lists += (lists.empty() ? "" : ",") + list;
    std::string unpacked = d.unpacked < 0 ? "-" : std::to_string(d.unpacked);
    printf("%-12s %-6s %10zu %10s  %-16s %s\n", d.item->type.c_str(), d.store, d.item->data.size(), unpacked.c_str(),
           lists.empty() ? "-" : lists.c_str(), d.name.c_str());
  }
}

}  // namespace

int List(const std::string& installer, bool json, unsigned codePage) {
  CodePage page(codePage);
  InstallerFile file(installer);
  std::vector<packager::Item> items;
  for (StoredItem& stored : file.ReadItems()) items.push_back(std::move(stored.item));
  std::vector<std::string> unreadable;
  ListsByName lists;
  for (const ListedName& entry : ReadLists(items, unreadable)) {
    lists[NameKey(entry.name)].push_back(ListLabel(entry.list));
  }
  std::vector<ListedItem> described;
  for (const packager::Item& item : items) described.push_back(Describe(item, lists, page));
  int64_t stubSize = file.Reader().MarkerOffset();
  std::vector<std::string> version = VersionLines(installer, static_cast<uint64_t>(stubSize));
  if (json) {
    PrintJson(stubSize, version, described);
  } else {
    PrintTable(stubSize, version, described);
  }
  return 0;
}

}  // namespace vpack
