// vpack extract INSTALLER -o FOLDER [--stored]
#include <stdio.h>

#include <filesystem>
#include <set>
#include <vector>

#include "packager/EngineFormat.h"
#include "packager/PayloadBuilder.h"
#include "payload/ItemName.h"
#include "vpack/Commands.h"
#include "vpack/ContentChecks.h"
#include "vpack/Error.h"
#include "vpack/InstallerFile.h"
#include "vpack/ItemIndex.h"
#include "vpack/OutputFile.h"
#include "vpack/StorageRules.h"
#include "vpack/ZlibCheck.h"

namespace fs = std::filesystem;

namespace vpack {
namespace {

// The item's path below the folder, with the host's separators; leading and
// doubled separators mean nothing more than one does on Windows.
fs::path RelativePath(const std::string& name) {
  fs::path relative;
  std::string component;
  for (char c : name + "\\") {
    if (c != '\\' && c != '/') {
      component += c;
    } else if (!component.empty()) {
      relative /= component;
      component.clear();
    }
  }
  return relative;
}

// One file name on Windows: case and separators do not tell two apart.
std::string WindowsKey(const std::string& name) { return NameKey(RelativePath(name).generic_string()); }

// Refused as a whole before anything is written.
std::vector<std::string> UnsafeNames(const std::vector<StoredItem>& items) {
  std::vector<std::string> problems;
  for (const StoredItem& stored : items) {
    const packager::Item& item = stored.item;
    if (!IsFileItem(item)) continue;
    bool safe = payload::IsSafeItemName(item.name.c_str()) && payload::IsWindowsFileName(item.name.c_str());
    if (!safe) problems.push_back(ItemLabel(item.type, item.name) + ": unsafe name, nothing extracted");
  }
  return problems;
}

// The bytes the installation writes, or a problem; the stored bytes of an
// engine-format item when asked.
std::string FileBytes(const StoredItem& stored, Written written, bool keepEncoded, packager::Bytes* bytes) {
  const packager::Bytes& data = stored.item.data;
  if (packager::Crc32(data) != stored.crc) return "checksum does not match";
  if (written == Written::kInflated) return ZlibProblem(data, bytes);
  if (written == Written::kDecoded && !keepEncoded) {
    packager::EngineDecoder decoder(
        [bytes](const uint8_t* piece, size_t size) { bytes->insert(bytes->end(), piece, piece + size); });
    decoder.Feed(data.data(), data.size());
    decoder.Finish();
    return decoder.Problem();
  }
  *bytes = data;
  return std::string();
}

// The folders from the root down to the item's own, the root not included.
std::vector<fs::path> FoldersOnTheWay(const fs::path& root, const fs::path& relative) {
  std::vector<fs::path> folders;
  fs::path parent = root;
  for (auto it = relative.begin(); std::next(it) != relative.end(); ++it) folders.push_back(parent /= *it);
  return folders;
}

// None of the folders may be a link: one made before the run could lead out
// of the root.
void RefuseLink(const fs::path& folder) {
  if (fs::is_symlink(fs::symlink_status(folder))) {
    throw Error(Quoted(folder.string()) + " is a link; nothing is extracted through one");
  }
}

// Asked of every item before the first is written, so that a refusal leaves
// the folder as it was; asked again while writing, as the folder may change.
void RefuseLinksOnTheWay(const fs::path& root, const std::vector<StoredItem>& items) {
  for (const StoredItem& stored : items) {
    if (!IsFileItem(stored.item)) continue;
    for (const fs::path& folder : FoldersOnTheWay(root, RelativePath(stored.item.name))) RefuseLink(folder);
  }
}

// Folders are made one by one. The file itself is renamed into place, so a
// link of its name is replaced, not written through.
void WriteBelow(const fs::path& root, const fs::path& relative, const packager::Bytes& bytes) {
  for (const fs::path& folder : FoldersOnTheWay(root, relative)) {
    RefuseLink(folder);
    std::error_code error;
    fs::create_directory(folder, error);
    if (error) throw Error("cannot make " + Quoted(folder.string()) + ": " + error.message());
  }
  OutputFile output((root / relative).string());
  output.Write(bytes.data(), bytes.size());
  output.Commit();
}

}  // namespace

int Extract(const std::string& installer, const std::string& folder, bool keepEncoded) {
  InstallerFile file(installer);
  std::vector<StoredItem> items = file.ReadItems();
  std::vector<std::string> problems = UnsafeNames(items);
  std::vector<packager::Item> plain;
  for (const StoredItem& stored : items) plain.push_back(stored.item);
  std::vector<std::string> unreadable;
  WrittenForms forms(ReadLists(plain, unreadable));
  if (problems.empty()) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) throw Error("cannot make " + Quoted(folder) + ": " + error.message());
    fs::path root = fs::canonical(folder);
    RefuseLinksOnTheWay(root, items);
    std::set<std::string> seen;
    size_t written = 0;
    for (const StoredItem& stored : items) {
      // The installer reads the first item of a name; a later one is never written.
      if (!IsFileItem(stored.item) || !seen.insert(WindowsKey(stored.item.name)).second) continue;
      packager::Bytes bytes;
      std::string problem = FileBytes(stored, forms.Of(stored.item.name), keepEncoded, &bytes);
      if (problem.empty()) {
        WriteBelow(root, RelativePath(stored.item.name), bytes);
        ++written;
      } else {
        problems.push_back(ItemLabel(stored.item.type, stored.item.name) + ": " + problem + ", not extracted");
      }
    }
    printf("%s: %zu files extracted\n", folder.c_str(), written);
  }
  for (const std::string& problem : problems) fprintf(stderr, "vpack: %s: %s\n", installer.c_str(), problem.c_str());
  return problems.empty() ? 0 : 1;
}

}  // namespace vpack
