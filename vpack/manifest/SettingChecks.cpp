#include "vpack/manifest/SettingChecks.h"

#include <algorithm>

#include "payload/ItemName.h"
#include "payload/ProjectTypes.h"
#include "vpack/base/Error.h"

namespace vpack {
namespace {

bool Is(const SettingValue& setting, const payload::Setting& which) {
  return std::string(setting.info->name) == which.name;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The installer appends it to the Programs folder's path as it is and adds
// ".lnk" and " Uninstall.lnk": without a leading separator the links land
// beside that folder's own name, and a name Windows refuses makes no link.
std::string ShortcutProblem(const std::string& value, const CodePage& page) {
  if (value.empty() || !IsSeparator(value[0])) {
    return "does not begin with a backslash, so the links would land in the Programs folder under a name run "
           "together with its own; write it as '\\Vandrel Tours\\Harbour Tour'";
  }
  payload::NameFault fault = payload::WindowsNameFault((value.substr(1) + ".lnk").c_str(), nullptr, page.Number());
  if (fault == payload::NameFault::kNone) return std::string();
  return std::string("is no name Windows can make a link under: it ") + payload::NameFaultText(fault);
}

// The options dialog offers it and the installation writes there; only a
// full path names the same folder wherever the installer is started from.
std::string FolderProblem(const std::string& value) {
  if (value.empty()) return "is empty; the installation needs a folder to write to";
  bool drive = value.size() >= 3 && value[1] == ':' && IsSeparator(value[2]) &&
               ((value[0] >= 'A' && value[0] <= 'Z') || (value[0] >= 'a' && value[0] <= 'z'));
  bool share = value.size() > 2 && IsSeparator(value[0]) && IsSeparator(value[1]);
  if (drive || share) return std::string();
  return "is not a full path with its drive (such as 'C:\\Program Files\\Harbour Tour'); the installation would "
         "write wherever the installer happens to be started";
}

std::string ProblemOf(const SettingValue& setting, const CodePage& page) {
  if (Is(setting, payload::kShortCutName)) return ShortcutProblem(setting.text, page);
  if (Is(setting, payload::kInstallPath) || Is(setting, payload::kStartupDirectory)) return FolderProblem(setting.text);
  if (Is(setting, payload::kProjectName) && setting.text.empty()) {
    return "is empty; it names the installation's dialogs and its uninstall entry";
  }
  return std::string();
}

}  // namespace

void CheckSettings(Manifest& manifest, uint32_t projectType, std::vector<std::string>& problems) {
  CodePage page(manifest.codePage);
  std::vector<const char*> read = RequiredSettings(projectType);
  for (const char* name : OptionalSettings(projectType)) read.push_back(name);
  for (const SettingValue& setting : manifest.settings) {
    if (Is(setting, payload::kProjectTypeSetting)) continue;
    bool used = std::any_of(read.begin(), read.end(),
                            [&](const char* name) { return setting.info->name == std::string(name); });
    if (!used) {
      manifest.warnings.push_back(setting.entry + ": project type " + std::to_string(projectType) +
                                  " never reads it, so it changes nothing");
      continue;
    }
    std::string problem = ProblemOf(setting, page);
    if (!problem.empty()) problems.push_back(setting.entry + " (" + Quoted(page.ToUtf8(setting.text)) + ") " + problem);
  }
}

}  // namespace vpack
