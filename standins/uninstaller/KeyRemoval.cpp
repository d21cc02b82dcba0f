#include "standins/uninstaller/KeyRemoval.h"

#include <windows.h>

#include "standins/uninstaller/UninstallLog.h"

namespace uninstaller {
namespace {

// No backslash before the name: the installer glues it to "Vandrel".
constexpr char kUninstallPrefix[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vandrel";
constexpr char kViewerPrefix[] = "SOFTWARE\\Morvane\\Vandrel Viewers\\2.00.000\\";

void RemoveKey(const std::string& path) {
  LONG result = RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
  const char* outcome = "failed";
  if (result == ERROR_SUCCESS) {
    outcome = "ok";
  } else if (result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND) {
    outcome = "missing";
  }
  LogLine("Uninstall key HKLM\\" + path + " -> " + outcome);
}

}  // namespace

void RemoveProjectKeys(const std::string& projectName) {
  if (projectName.empty() || projectName.find('\\') != std::string::npos) return;
  RemoveKey(kUninstallPrefix + projectName);
  RemoveKey(kViewerPrefix + projectName);
}

}  // namespace uninstaller
