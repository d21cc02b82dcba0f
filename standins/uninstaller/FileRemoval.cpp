#include "standins/uninstaller/FileRemoval.h"

#include <windows.h>

#include "standins/uninstaller/AbsolutePath.h"
#include "standins/uninstaller/UninstallLog.h"

namespace uninstaller {
namespace {

const char* Outcome(bool ok) { return ok ? "ok" : "failed"; }

// Read-only files are what a copied CD leaves behind; they go all the same.
bool DeleteAnyFile(const std::string& path) {
  if (DeleteFileA(path.c_str())) return true;
  if (GetLastError() != ERROR_ACCESS_DENIED) return false;
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return false;
  SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return DeleteFileA(path.c_str()) != 0;
}

}  // namespace

void RemoveRecordedFile(const std::string& path, const std::string& ownProgram) {
  if (!IsAbsolutePath(path)) {
    LogLine("Uninstall file " + path + " -> skipped, not absolute");
    return;
  }
  bool ok = !SamePath(path, ownProgram) && DeleteAnyFile(path);
  LogLine("Uninstall file " + path + " -> " + Outcome(ok));
}

void RemoveRecordedFolder(const std::string& path) {
  if (!IsAbsolutePath(path)) {
    LogLine("Uninstall folder " + path + " -> skipped, not absolute");
    return;
  }
  LogLine("Uninstall folder " + path + " -> " + Outcome(RemoveDirectoryA(path.c_str()) != 0));
}

void RemoveInstallationFolder(const std::string& folder) {
  if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  LogLine("Uninstall folder " + folder + " -> " + Outcome(RemoveDirectoryA(folder.c_str()) != 0));
}

}  // namespace uninstaller
