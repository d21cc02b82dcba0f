// vpack list INSTALLER and vpack verify INSTALLER (extract: a placeholder)
#include <stdio.h>

#include "packager/PayloadBuilder.h"
#include "vpack/Commands.h"
#include "vpack/ContentChecks.h"
#include "vpack/Error.h"
#include "vpack/InstallerFile.h"

namespace vpack {
namespace {

// Items whose bytes do not match the directory's checksum, one line each.
std::vector<std::string> CrcProblems(const std::vector<StoredItem>& items) {
  std::vector<std::string> problems;
  for (const StoredItem& stored : items) {
    uint32_t actual = packager::Crc32(stored.item.data);
    if (actual != stored.crc) {
      char line[64];
      snprintf(line, sizeof(line), ": checksum %08X, the directory says %08X", actual, stored.crc);
      problems.push_back(ItemLabel(stored.item.type, stored.item.name) + line);
    }
  }
  return problems;
}

}  // namespace

int List(const std::string& path, bool /*json*/) {
  InstallerFile installer(path);
  const payload::PayloadReader& reader = installer.Reader();
  printf("stub: %lld bytes\n", static_cast<long long>(reader.MarkerOffset()));
  printf("%-12s %10s  %-8s  %s\n", "type", "size", "crc", "name");
  for (int32_t i = 0; i < reader.EntryCount(); ++i) {
    const payload::PayloadEntry* entry = reader.Entry(i);
    printf("%-12s %10u  %08X  %s\n", entry->type, static_cast<unsigned>(entry->size), static_cast<unsigned>(entry->crc),
           entry->name);
  }
  return 0;
}

int Verify(const std::string& path) {
  InstallerFile installer(path);
  std::vector<StoredItem> stored = installer.ReadItems();
  std::vector<std::string> problems = CrcProblems(stored);
  std::vector<packager::Item> items;
  for (StoredItem& entry : stored) items.push_back(std::move(entry.item));
  for (const std::string& problem : CheckContents(items)) problems.push_back(problem);
  for (const std::string& problem : problems) fprintf(stderr, "vpack: %s: %s\n", path.c_str(), problem.c_str());
  if (!problems.empty()) return 1;
  printf("%s: %zu items, all intact\n", path.c_str(), items.size());
  return 0;
}

// Placeholder until extract is written: it refuses rather than pretend.
int Extract(const std::string& /*installer*/, const std::string& /*folder*/) {
  throw Error("extract is not available in this build");
}

}  // namespace vpack
