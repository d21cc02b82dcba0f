#include "vpack/ManifestFolder.h"

#include <fnmatch.h>

#include <filesystem>

#include "vpack/Error.h"

namespace vpack {
namespace {

namespace fs = std::filesystem;

bool MatchesAny(const std::vector<std::string>& patterns, const std::string& relativePath) {
  for (const std::string& pattern : patterns) {
    if (MatchesPattern(pattern, relativePath)) return true;
  }
  return false;
}

FileSpec FileIn(const FolderSpec& folder, const fs::directory_entry& found, const std::string& relative) {
  FileSpec file;
  std::string below = CanonicalName(relative);
  file.name = folder.target.empty() ? below : folder.target + "\\" + below;
  file.source = found.path().string();
  file.list = folder.listGiven ? folder.list
                               : (IsRuntimeName(file.name) ? std::nullopt
                                                           : std::optional(packager::ListKind::kProjectFiles));
  file.store = folder.store ? *folder.store : DefaultStore(file.name, file.list);
  file.size = found.file_size();
  file.entry = folder.entry + ", item " + Quoted(file.name);
  return file;
}

}  // namespace

bool MatchesPattern(const std::string& pattern, const std::string& relativePath) {
  std::string subject = relativePath;
  if (pattern.find('/') == std::string::npos) subject = relativePath.substr(relativePath.rfind('/') + 1);
  return fnmatch(pattern.c_str(), subject.c_str(), FNM_CASEFOLD) == 0;
}

std::vector<FileSpec> ExpandFolder(const FolderSpec& folder, std::vector<std::string>& warnings) {
  std::error_code error;
  if (!fs::is_directory(folder.source, error)) {
    throw Error(folder.entry + ": " + Quoted(folder.source) + " is not a folder");
  }
  std::vector<FileSpec> files;
  fs::recursive_directory_iterator walk(folder.source, error), end;
  for (; !error && walk != end; walk.increment(error)) {
    const fs::directory_entry& found = *walk;
    if (found.is_directory(error)) continue;
    std::string relative = found.path().lexically_relative(folder.source).generic_string();
    if (!folder.include.empty() && !MatchesAny(folder.include, relative)) continue;
    if (MatchesAny(folder.exclude, relative)) continue;
    if (!found.is_regular_file(error)) {
      throw Error(folder.entry + ": " + Quoted(found.path().string()) + " is not a regular file");
    }
    files.push_back(FileIn(folder, found, relative));
  }
  if (error) throw Error(folder.entry + ": cannot read " + Quoted(folder.source) + ": " + error.message());
  if (files.empty()) warnings.push_back(folder.entry + ": no file to pack");
  return files;
}

}  // namespace vpack
