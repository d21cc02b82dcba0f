#include "vpack/rules/SettingValues.h"

#include <string.h>

#include "platform/DoubleByte.h"
#include "payload/FolderRule.h"
#include "payload/InstalledNames.h"
#include "payload/ItemName.h"
#include "payload/ProjectTypes.h"

namespace vpack {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Both step by character: the second byte of a double-byte letter may be
// the byte of a backslash.
bool HoldsSeparator(const std::string& value, unsigned codePage) {
  for (size_t i = 0; i < value.size(); i += text::CharLength(codePage, value.c_str() + i)) {
    if (IsSeparator(value[i])) return true;
  }
  return false;
}

// The value's length without its trailing separators.
size_t WithoutTrailingSeparators(const std::string& value, unsigned codePage) {
  size_t end = 0;
  for (size_t i = 0; i < value.size();) {
    size_t length = text::CharLength(codePage, value.c_str() + i);
    if (length > 1 || !IsSeparator(value[i])) end = i + length;
    i += length;
  }
  return end;
}

// Windows' own rule for names, so that a value passes here exactly when a
// file or folder of that name can be made. The rule's words for a ':' speak
// of an item leaving its folder, which a setting is not.
std::string FaultWords(payload::NameFault fault) {
  return fault == payload::NameFault::kDriveOrStream ? "holds a ':', which Windows takes for a drive or a stream"
                                                     : payload::NameFaultText(fault);
}

std::string NameProblem(const std::string& name, const std::string& what, unsigned codePage) {
  payload::NameFault fault = payload::WindowsNameFault(name.c_str(), nullptr, codePage);
  if (fault == payload::NameFault::kNone) return std::string();
  return what + ": it " + FaultWords(fault);
}

// The installer appends it to the Programs folder's path as it is and adds
// ".lnk" and " Uninstall.lnk": without a leading separator the links land
// beside that folder's own name, after a trailing one they have no name, and
// a name Windows refuses makes no link.
std::string ShortcutProblem(const std::string& value, unsigned codePage) {
  if (value.empty() || !IsSeparator(value[0])) {
    return "does not begin with a backslash, so the links would land in the Programs folder under a name run "
           "together with its own; write it as '\\Vandrel Tours\\Harbour Tour'";
  }
  if (WithoutTrailingSeparators(value, codePage) != value.size()) {
    return "ends in a separator, so the links would be named \".lnk\" and \" Uninstall.lnk\"; end it with the "
           "links' name";
  }
  return NameProblem(value + ".lnk", "is no name Windows can make a link under", codePage);
}

// The options dialog offers it and the installation writes there, and the
// stub refuses what its rule refuses (payload/FolderRule.h): only a full
// path names the same folder wherever the installer is started from, and a
// whole drive or share is no folder an installation may take as its own.
std::string FolderProblem(const std::string& value, unsigned codePage) {
  if (value.empty()) return "is empty; the installation needs a folder to write to";
  payload::NameFault name;
  switch (payload::InstallFolderFault(value.c_str(), codePage, &name)) {
    case payload::FolderFault::kNone:
      return std::string();
    case payload::FolderFault::kRoot:
      return std::string("is the root of a ") + (IsSeparator(value[0]) ? "share" : "drive") +
             ", not a folder of the installation's own: its files and uninstaller would lie among the " +
             (IsSeparator(value[0]) ? "share's" : "drive's");
    case payload::FolderFault::kNotAllowed:
      return "is no folder Windows can create: it " + FaultWords(name);
    default:
      return "is not a full path with its drive (such as 'C:\\Program Files\\Harbour Tour') or share; the "
             "installation would write wherever the installer happens to be started";
  }
}

// The uninstall entry's key is named after it, and the screen saver and the
// plug-in are copied into the system's or the player's folder under it.
std::string ProjectNameProblem(const std::string& value, uint32_t projectType, unsigned codePage) {
  if (value.empty()) return "is empty; it names the installation's dialogs and its uninstall entry";
  if (value.size() > payload::kMaxProjectName) {
    const char* prefix = payload::kUninstallKey + strlen(payload::kUninstallKey) - payload::UninstallEntryPrefixLength();
    return "is " + std::to_string(value.size()) + " bytes in the code page; the uninstall entry's key is named \"" +
           prefix + "\" and the project name, and Windows takes at most " +
           std::to_string(payload::kMaxRegistryKeyName) + " characters, so at most " +
           std::to_string(payload::kMaxProjectName);
  }
  if (projectType != payload::kScreenSaver && projectType != payload::kWinampPlugin) return std::string();
  std::string what = projectType == payload::kScreenSaver ? "the screen saver" : "the plug-in";
  if (HoldsSeparator(value, codePage)) {
    return "holds a separator, but " + what + " is copied under this name into a folder of its own choosing";
  }
  return NameProblem(value, "is no file name Windows can create, and " + what + " is copied under it", codePage);
}

}  // namespace

std::string SettingValueProblem(const std::string& setting, const std::string& value, uint32_t projectType,
                                unsigned codePage) {
  if (setting == payload::kShortCutName.name) return ShortcutProblem(value, codePage);
  if (setting == payload::kInstallPath.name || setting == payload::kStartupDirectory.name) {
    return FolderProblem(value, codePage);
  }
  if (setting == payload::kProjectName.name) return ProjectNameProblem(value, projectType, codePage);
  return std::string();
}

}  // namespace vpack
