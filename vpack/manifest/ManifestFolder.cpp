#include "vpack/manifest/ManifestFolder.h"

#include <strings.h>

#include <filesystem>

#include "vpack/base/Error.h"
#include "vpack/base/SystemPath.h"
#include "payload/PayloadReader.h"
#include "vpack/manifest/NamePattern.h"

namespace vpack {
namespace {

namespace fs = std::filesystem;

bool MatchesAny(const std::vector<std::string>& patterns, const std::string& relativePath, const CodePage& page) {
  for (const std::string& pattern : patterns) {
    if (MatchesPattern(pattern, relativePath, page)) return true;
  }
  return false;
}

// Walks one [[folder]] entry's tree itself rather than with a recursive
// iterator, so that a failure names the folder that failed, and links and
// litter are seen before anything below them is read.
class FolderWalk {
 public:
  FolderWalk(const FolderSpec& folder, Manifest& into) : folder_(folder), into_(into) {}

  void Run() {
    std::error_code error;
    root_ = ResolvedPath(PathOf(folder_.source), error);
    if (error || !fs::is_directory(root_, error)) {
      throw Error(folder_.entry + ": " + Quoted(folder_.source) + " is not a folder");
    }
    size_t before = into_.files.size();
    Folder(PathOf(folder_.source), "");
    if (into_.files.size() == before) into_.warnings.push_back(folder_.entry + ": no file to pack");
    if (!emptyFolders_.empty()) {
      into_.warnings.push_back(folder_.entry + ": " + std::to_string(emptyFolders_.size()) +
                               " empty folder(s) not packed, such as " + Quoted(emptyFolders_[0]) +
                               "; the installer makes folders only for the files in them");
    }
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw Error(folder_.entry + ": " + what); }

  void Folder(const fs::path& path, const std::string& relative) {
    std::error_code error;
    bool empty = true;
    fs::directory_iterator walk(path, error), end;
    for (; !error && walk != end; walk.increment(error)) {
      empty = false;
      std::string name = TextOf(walk->path().filename());
      Visit(*walk, relative.empty() ? name : relative + "/" + name);
    }
    if (error) Fail("cannot read the folder " + Quoted(TextOf(path)) + ": " + error.message());
    if (empty && !relative.empty()) emptyFolders_.push_back(relative);
  }

  void Visit(const fs::directory_entry& found, const std::string& relative) {
    if (!folder_.takeLitter && IsLitterName(TextOf(found.path().filename()))) {
      ++into_.litterLeftOut;
      return;
    }
    std::error_code error;
    if (IsLink(found.path())) return Link(found, relative);
    if (found.is_directory(error)) return Folder(found.path(), relative);
    Take(found.path(), relative);
  }

  // A link is followed only to a file inside the folder: one leading out
  // would pack whatever it points at (a key, a password file) unseen.
  void Link(const fs::directory_entry& found, const std::string& relative) {
    std::error_code error;
    fs::path target = ResolvedPath(found.path(), error);
    if (error) Fail("symbolic link " + Quoted(TextOf(found.path())) + " leads nowhere");
    if (fs::is_directory(target, error)) {
      into_.warnings.push_back(folder_.entry + ": symbolic link " + Quoted(TextOf(found.path())) +
                               " to a folder is not entered; its files are not packed");
      return;
    }
    if (!Wanted(relative)) return;
    std::string inside = target.lexically_relative(root_).generic_u8string();
    if (inside.empty() || inside == ".." || inside.rfind("../", 0) == 0) {
      Fail("symbolic link " + Quoted(TextOf(found.path())) + " leads to " + Quoted(TextOf(target)) +
           ", outside " + Quoted(folder_.source) + "; vpack packs no file from outside the folder");
    }
    Take(found.path(), relative);
  }

  bool Wanted(const std::string& relative) const {
    CodePage page(into_.codePage);
    if (!folder_.include.empty() && !MatchesAny(folder_.include, relative, page)) return false;
    return !MatchesAny(folder_.exclude, relative, page);
  }

  // An earlier installer of the output's name and the temporaries of a pack
  // of it, when the output lies inside the folder: packed, each build would
  // carry the last one and soon fail. A project file of that name is no
  // installer, and stays, for pack to refuse to overwrite it.
  bool IsOutput(const fs::path& path) const {
    if (into_.output.empty()) return false;
    std::error_code error;
    fs::path output = fs::weakly_canonical(PathOf(into_.output), error);
    fs::path found = fs::weakly_canonical(path, error);
    if (found.parent_path() != output.parent_path()) return false;
    std::string name = TextOf(found.filename()), outputName = TextOf(output.filename());
    if (name.rfind(outputName + ".vpack-", 0) == 0) return true;
    return name == outputName &&
           payload::PayloadReader(TextOf(found).c_str()).Status() == payload::DirectoryStatus::kLoaded;
  }

  void Take(const fs::path& path, const std::string& relative) {
    if (!Wanted(relative) || IsOutput(path)) return;
    std::error_code error;
    if (!fs::is_regular_file(path, error)) Fail(Quoted(TextOf(path)) + " is not a regular file");
    FileSpec file;
    std::string below = CanonicalName(relative);
    file.name = folder_.target.empty() ? below : folder_.target + "\\" + below;
    file.source = TextOf(path);
    file.list = folder_.listGiven ? folder_.list
                                  : (IsRuntimeName(file.name) ? std::nullopt
                                                              : std::optional(packager::ListKind::kProjectFiles));
    file.store = folder_.store ? *folder_.store : DefaultStore(file.name);
    file.size = fs::file_size(path, error);
    if (error) Fail("cannot read " + Quoted(TextOf(path)) + ": " + error.message());
    file.entry = folder_.entry + ", item " + Quoted(file.name);
    into_.files.push_back(file);
  }

  const FolderSpec& folder_;
  Manifest& into_;
  fs::path root_;
  std::vector<std::string> emptyFolders_;
};

}  // namespace

bool IsLitterName(const std::string& name) {
  static const char* const kLitter[] = {".git", ".svn", ".hg", ".DS_Store", "Thumbs.db", "desktop.ini"};
  for (const char* litter : kLitter) {
    if (strcasecmp(name.c_str(), litter) == 0) return true;
  }
  return !name.empty() && name.back() == '~';
}

void ExpandFolder(const FolderSpec& folder, Manifest& into) { FolderWalk(folder, into).Run(); }

}  // namespace vpack
