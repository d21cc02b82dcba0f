// The step of reading a manifest that looks at the disk: the files its
// entries name and the folders they walk.
#include <algorithm>
#include <filesystem>

#include "vpack/base/Error.h"
#include "vpack/base/SystemPath.h"
#include "vpack/manifest/Manifest.h"
#include "vpack/manifest/ManifestFolder.h"

namespace vpack {
namespace {

void ReadSource(FileSpec& file, std::vector<std::string>& problems) {
  std::error_code error;
  std::filesystem::path source = PathOf(file.source);
  if (!std::filesystem::is_regular_file(source, error)) {
    bool there = std::filesystem::exists(source, error);
    problems.push_back(file.entry + ": source " + Quoted(file.source) +
                       (there ? " is not a regular file" : " cannot be read: no such file"));
    return;
  }
  file.size = std::filesystem::file_size(source, error);
}

}  // namespace

// Every source that is missing, of files and folders alike, is reported in
// one run: a runtime copied to the wrong place is many of them.
void ReadSources(Manifest& manifest) {
  std::vector<std::string> problems;
  for (FileSpec& file : manifest.files) ReadSource(file, problems);
  // Each folder's files go where the folder stood among the [[file]]
  // entries, so that the entries keep the manifest's order.
  size_t added = 0;
  for (const FolderSpec& folder : manifest.folders) {
    size_t end = manifest.files.size();
    try {
      ExpandFolder(folder, manifest);
    } catch (const Error& e) {
      problems.push_back(e.what());
      manifest.files.resize(end);
    }
    std::rotate(manifest.files.begin() + folder.filesBefore + added, manifest.files.begin() + end,
                manifest.files.end());
    added += manifest.files.size() - end;
  }
  manifest.folders.clear();
  ThrowIfAny(problems);
}

}  // namespace vpack
