// vpack extract INSTALLER -o FOLDER [--stored] [--code-page N]
#include <stdio.h>

#include <filesystem>
#include <set>
#include <vector>

#include "packager/PayloadBuilder.h"
#include "payload/ItemName.h"
#include "vpack/base/CodePage.h"
#include "vpack/base/Progress.h"
#include "vpack/extract/ExtractCommand.h"
#include "vpack/rules/ContentChecks.h"
#include "vpack/base/Error.h"
#include "vpack/read/InstallerFile.h"
#include "vpack/base/ItemIndex.h"
#include "vpack/read/ItemStream.h"
#include "vpack/base/AtomicFile.h"
#include "vpack/base/SystemPath.h"
#include "vpack/rules/StorageRules.h"

namespace fs = std::filesystem;

namespace vpack {
namespace {

// The item's path below the folder, in UTF-8 with the host's separators;
// leading and doubled separators mean nothing more than one does on Windows.
fs::path RelativePath(const std::string& name, const CodePage& page) {
  fs::path relative;
  std::string component;
  for (char c : page.ToUtf8(name) + "\\") {
    if (c != '\\' && c != '/') {
      component += c;
    } else if (!component.empty()) {
      relative /= PathOf(component);
      component.clear();
    }
  }
  return relative;
}

// One file name on Windows: case and separators do not tell two apart.
std::string WindowsKey(const std::string& name, const CodePage& page) {
  return NameKey(RelativePath(name, page).generic_u8string());
}

// Refused as a whole before anything is written.
std::vector<std::string> UnsafeNames(const std::vector<packager::Item>& items, const CodePage& page) {
  std::vector<std::string> problems;
  for (const packager::Item& item : items) {
    if (!IsFileItem(item)) continue;
    const char* name = item.name.c_str();
    bool safe = payload::IsSafeItemName(name, page.Number()) && payload::IsWindowsFileName(name, page.Number());
    if (!safe) problems.push_back(ItemLabel(item.type, page.ToUtf8(item.name)) + ": unsafe name, nothing extracted");
  }
  return problems;
}

// How the installation writes the file; engine-format files as stored when asked.
Decode DecodeFor(Written written, bool keepEncoded) {
  if (written == Written::kInflated) return Decode::kZlib;
  return written == Written::kDecoded && !keepEncoded ? Decode::kEngine : Decode::kNone;
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
  if (IsLink(folder)) {
    throw Error(Quoted(TextOf(folder)) + " is a link; nothing is extracted through one");
  }
}

// Asked of every item before the first is written, so that a refusal leaves
// the folder as it was; asked again while writing, as the folder may change.
void RefuseLinksOnTheWay(const fs::path& root, const std::vector<packager::Item>& items, const CodePage& page) {
  for (const packager::Item& item : items) {
    if (!IsFileItem(item)) continue;
    for (const fs::path& folder : FoldersOnTheWay(root, RelativePath(item.name, page))) RefuseLink(folder);
  }
}

// Folders are made one by one. The file itself is renamed into place, so a
// link of its name is replaced, not written through; nothing is left of a
// file whose bytes turn out damaged on the way. Empty when it was written.
std::string WriteBelow(const fs::path& root, const fs::path& relative, const InstallerFile& file, int32_t index,
                       Decode decode) {
  for (const fs::path& folder : FoldersOnTheWay(root, relative)) {
    RefuseLink(folder);
    std::error_code error;
    fs::create_directory(folder, error);
    if (error) throw Error("cannot make " + Quoted(TextOf(folder)) + ": " + error.message());
  }
  AtomicFile output(TextOf(root / relative));
  ItemPass pass = PassItem(file, index, decode, [&output](const uint8_t* bytes, size_t size) { output.Write(bytes, size); });
  if (pass.crc != file.Entry(index).crc) return "checksum does not match";
  if (!pass.problem.empty()) return pass.problem;
  output.Commit();
  return std::string();
}

}  // namespace

int Extract(const std::string& installer, const std::string& folder, bool keepEncoded, unsigned codePage,
            bool quiet) {
  InstallerFile file(installer);
  CodePage page(file.CodePageOf(codePage));
  std::vector<packager::Item> items = file.HeldItems();
  std::vector<std::string> problems = UnsafeNames(items, page);
  std::vector<std::string> unreadable;
  WrittenForms forms(ReadLists(items, unreadable));
  if (problems.empty()) {
    std::error_code error;
    fs::create_directories(PathOf(folder), error);
    if (error) throw Error("cannot make " + Quoted(folder) + ": " + error.message());
    fs::path root = fs::canonical(PathOf(folder));
    RefuseLinksOnTheWay(root, items, page);
    std::set<std::string> seen;
    size_t written = 0;
    Progress progress("extracting", PayloadBytes(file), !quiet);
    uint64_t done = 0;
    for (size_t i = 0; i < items.size(); ++i) {
      const packager::Item& item = items[i];
      progress.Update(done, page.ToUtf8(item.name));
      done += file.Entry(static_cast<int32_t>(i)).size;
      // The installer reads the first item of a name; a later one is never written.
      if (!IsFileItem(item) || !seen.insert(WindowsKey(item.name, page)).second) continue;
      Decode decode = DecodeFor(forms.Of(item.name), keepEncoded);
      std::string problem = WriteBelow(root, RelativePath(item.name, page), file, static_cast<int32_t>(i), decode);
      if (problem.empty()) {
        ++written;
      } else {
        problems.push_back(ItemLabel(item.type, page.ToUtf8(item.name)) + ": " + problem + ", not extracted");
      }
    }
    printf("%s: %zu files extracted\n", folder.c_str(), written);
  }
  for (const std::string& problem : problems) fprintf(stderr, "vpack: %s: %s\n", installer.c_str(), problem.c_str());
  return problems.empty() ? 0 : 1;
}

}  // namespace vpack
