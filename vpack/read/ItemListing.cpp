// vpack list INSTALLER [--json]
#include <stdio.h>
#include <string.h>

#include <nlohmann/json.hpp>

#include "packager/EngineFormat.h"
#include "payload/LittleEndian.h"
#include "vpack/base/CodePage.h"
#include "vpack/base/Commands.h"
#include "vpack/rules/ContentChecks.h"
#include "vpack/read/InstallerFile.h"
#include "vpack/base/ItemIndex.h"
#include "vpack/manifest/Manifest.h"
#include "vpack/rules/StorageRules.h"
#include "vpack/branding/StubBranding.h"

namespace vpack {
namespace {

struct ListedItem {
  const packager::Item* item;
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
  ListedItem out{&item, page.ToUtf8(item.name), size, "raw", static_cast<int64_t>(size), {}};
  if (!IsFileItem(item)) return out;
  if (IsPackedName(item.name)) {
    out.store = "zlib";
    packager::Bytes tail = file.ReadTail(index, 4);
    out.unpacked = tail.size() == 4 ? payload::ReadLittleEndian32(tail.data()) : -1;
  } else {
    packager::Bytes head = file.ReadHead(index, 4);
    if (head.size() == 4 && memcmp(head.data(), packager::kEngineTag, 4) == 0) {
      out.store = "engine";
      out.unpacked = -1;
    }
  }
  auto found = lists.find(NameKey(item.name));
  if (found != lists.end()) out.lists = found->second;
  return out;
}

void PrintJson(int64_t stubSize, const std::vector<std::string>& version, const std::vector<ListedItem>& described) {
  nlohmann::ordered_json items = nlohmann::ordered_json::array();
  for (const ListedItem& d : described) {
    nlohmann::ordered_json row;
    row["type"] = d.item->type;
    row["name"] = d.name;
    row["store"] = d.store;
    row["size"] = d.size;
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
    printf("%-12s %-6s %10u %10s  %-16s %s\n", d.item->type.c_str(), d.store, d.size, unpacked.c_str(),
           lists.empty() ? "-" : lists.c_str(), d.name.c_str());
  }
}

}  // namespace

int List(const std::string& installer, bool json, unsigned codePage) {
  CodePage page(codePage);
  InstallerFile file(installer);
  std::vector<packager::Item> items = file.HeldItems();
  std::vector<std::string> unreadable;
  ListsByName lists;
  for (const ListedName& entry : ReadLists(items, unreadable)) {
    lists[NameKey(entry.name)].push_back(ListLabel(entry.list));
  }
  std::vector<ListedItem> described;
  for (size_t i = 0; i < items.size(); ++i) {
    described.push_back(Describe(file, static_cast<int32_t>(i), items[i], lists, page));
  }
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
