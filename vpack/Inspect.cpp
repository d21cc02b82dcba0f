// vpack list INSTALLER and vpack verify INSTALLER
#include <stdio.h>

#include "packager/PayloadBuilder.h"
#include "vpack/Commands.h"
#include "vpack/ContentChecks.h"
#include "vpack/Error.h"
#include "vpack/InstallerFile.h"
#include "vpack/StubBranding.h"

namespace vpack {
namespace {

std::string OneInstaller(const char* command, const Arguments& arguments) {
  if (arguments.size() != 1 || (arguments[0].size() > 1 && arguments[0][0] == '-')) {
    throw UsageError(std::string(command) + " takes one installer");
  }
  return arguments[0];
}

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

int RunList(const Arguments& arguments) {
  std::string path = OneInstaller("list", arguments);
  InstallerFile installer(path);
  const payload::PayloadReader& reader = installer.Reader();
  printf("stub: %lld bytes\n", static_cast<long long>(reader.MarkerOffset()));
  for (const std::string& line : VersionLines(path, reader.MarkerOffset())) printf("%s\n", line.c_str());
  printf("%-12s %10s  %-8s  %s\n", "type", "size", "crc", "name");
  for (int32_t i = 0; i < reader.EntryCount(); ++i) {
    const payload::PayloadEntry* entry = reader.Entry(i);
    printf("%-12s %10u  %08X  %s\n", entry->type, static_cast<unsigned>(entry->size), static_cast<unsigned>(entry->crc),
           entry->name);
  }
  return 0;
}

int RunVerify(const Arguments& arguments) {
  std::string path = OneInstaller("verify", arguments);
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

const char* UsageText() {
  return "usage: vpack pack MANIFEST -o OUTPUT [--stub STUB|STUB_FOLDER]\n"
         "       vpack list INSTALLER\n"
         "       vpack verify INSTALLER\n";
}

}  // namespace vpack
