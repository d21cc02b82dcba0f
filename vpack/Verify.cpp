// vpack verify INSTALLER
#include "vpack/Verify.h"

#include <stdio.h>
#include <string.h>

#include "payload/Crc32Table.h"
#include "payload/PayloadFormat.h"
#include "vpack/Commands.h"
#include "vpack/ContentChecks.h"
#include "vpack/Error.h"
#include "vpack/InstallerFile.h"
#include "vpack/PayloadAssembly.h"
#include "vpack/StubCheck.h"

namespace vpack {
namespace {

// Why the installer would not find its payload: the reader only says that it
// did not.
std::string NoPayloadProblem(const packager::Bytes& file) {
  char marker[payload::kMarkerLength + 1];
  payload::JoinMarker(marker);
  if (file.size() >= 4) {
    const uint8_t* t = file.data() + file.size() - 4;
    uint64_t at = t[0] | (t[1] << 8) | (t[2] << 16) | (static_cast<uint64_t>(t[3]) << 24);
    if (at + payload::kMarkerLength <= file.size() && strncasecmp(reinterpret_cast<const char*>(file.data() + at),
                                                                   marker, payload::kMarkerLength) == 0) {
      return "no payload found: the directory at offset " + std::to_string(at) + " does not fit the file";
    }
  }
  return "no payload found: no marker where the installer looks (at the trailer's offset, or early in the file)";
}

std::vector<std::string> CrcProblems(const std::vector<StoredItem>& items) {
  std::vector<std::string> problems;
  payload::Crc32Table table;
  table.Build();
  for (const StoredItem& stored : items) {
    uint32_t actual = table.Compute(stored.item.data.data(), static_cast<uint32_t>(stored.item.data.size()));
    if (actual != stored.crc) {
      char line[64];
      snprintf(line, sizeof(line), ": checksum %08X, the directory says %08X", actual, stored.crc);
      problems.push_back(ItemLabel(stored.item.type, stored.item.name) + line);
    }
  }
  return problems;
}

}  // namespace

std::vector<std::string> InstallerProblems(const std::string& path, size_t* itemCount) {
  packager::Bytes file = ReadWholeFile(path, "installer");
  std::unique_ptr<InstallerFile> installer;
  try {
    installer = std::make_unique<InstallerFile>(path);
  } catch (const Error&) {
    return {NoPayloadProblem(file)};
  }
  std::vector<std::string> problems =
      StubProblems(file, static_cast<size_t>(installer->Reader().MarkerOffset()));
  std::vector<StoredItem> stored = installer->ReadItems();
  for (std::string& problem : CrcProblems(stored)) problems.push_back(std::move(problem));
  std::vector<packager::Item> items;
  for (StoredItem& entry : stored) items.push_back(std::move(entry.item));
  for (std::string& problem : CheckContents(items)) problems.push_back(std::move(problem));
  if (itemCount != nullptr) *itemCount = items.size();
  return problems;
}

int Verify(const std::string& installer) {
  size_t count = 0;
  std::vector<std::string> problems = InstallerProblems(installer, &count);
  for (const std::string& problem : problems) fprintf(stderr, "vpack: %s: %s\n", installer.c_str(), problem.c_str());
  if (!problems.empty()) return 1;
  printf("%s: %zu items, all intact\n", installer.c_str(), count);
  return 0;
}

}  // namespace vpack
