#include "vpack/rules/PathLimits.h"

#include "vpack/base/Error.h"
#include "vpack/rules/Settings.h"

namespace vpack {
namespace {

// The longest temporary folder a run in place is likely to meet: the
// longest user name Windows allows and the last folder number it tries.
const char kLongTemporaryFolder[] = "C:\\Users\\UUUUUUUUUUUUUUUUUUUU\\AppData\\Local\\Temp\\Vandrel10000";

// The ANSI functions count bytes: in a double-byte page a character may be
// two of them.
const char* Unit(const CodePage& page) { return page.IsDoubleByte() ? " bytes" : " characters"; }

// One finding per limit: how many paths pass it, and the longest of them.
class Limit {
 public:
  Limit(size_t most, const char* what) : most_(most), what_(what) {}

  void Check(const std::string& name, const std::string& path) {
    if (path.size() <= most_) return;
    ++count_;
    if (path.size() > longest_.size()) longest_ = path, name_ = name;
  }

  void Report(std::vector<std::string>& into, const std::string& where, const CodePage& page) const {
    if (count_ == 0) return;
    into.push_back("item " + Quoted(page.ToUtf8(name_)) + ": " + what_ + " " + Quoted(page.ToUtf8(longest_)) +
                   ", " + std::to_string(longest_.size()) + Unit(page) + ", where Windows takes at most " +
                   std::to_string(most_) + where + "; " + std::to_string(count_) + " item(s) pass that");
  }

 private:
  size_t most_;
  const char* what_;
  size_t count_ = 0;
  std::string longest_, name_;
};

}  // namespace

const char* InstallFolderSetting(uint32_t projectType) {
  for (const char* name : RequiredSettings(projectType)) {
    std::string setting = name;
    if (setting == payload::kInstallPath.name || setting == payload::kStartupDirectory.name) return name;
  }
  return nullptr;
}

PathFindings CheckInstalledPaths(uint32_t projectType, std::string folder, const std::vector<std::string>& names,
                                 const CodePage& page) {
  bool inPlace = InstallFolderSetting(projectType) == nullptr;
  if (inPlace) folder = kLongTemporaryFolder;
  // By character: a folder may end in a letter whose second byte is 0x5C.
  while (!folder.empty() && page.LastSeparator(folder) == folder.size() - 1) folder.pop_back();
  Limit anywhere(kMaxAnsiPath, "needs at least"), file(kMaxAnsiPath, "installed as"),
      folders(kMaxAnsiFolder, "needs the folder");
  for (const std::string& name : names) {
    std::string below = name.substr(!name.empty() && name[0] == '\\' ? 1 : 0);
    anywhere.Check(name, "C:\\" + below);
    // The installer joins a name to its folder with one backslash.
    std::string path = folder + "\\" + below;
    file.Check(name, path);
    size_t cut = page.LastSeparator(path);
    if (cut != std::string::npos && cut > folder.size()) folders.Check(name, path.substr(0, cut));
  }
  PathFindings findings;
  anywhere.Report(findings.errors, " in any folder", page);
  if (inPlace) {
    std::string where = " under a long temporary folder";
    file.Report(findings.warnings, where, page);
    folders.Report(findings.warnings, where, page);
    return findings;
  }
  std::string where = " in " + Quoted(page.ToUtf8(folder));
  file.Report(findings.errors, where, page);
  folders.Report(findings.errors, where, page);
  return findings;
}

}  // namespace vpack
