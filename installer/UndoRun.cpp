// A failed or cancelled installation leaves the machine as it was before it,
// as far as it can: what this run made where nothing was is removed again.
// Files it replaced stay, new and whole, and so does an earlier uninstall
// record, so that the earlier installation can still be removed.
#include "installer/Installer.h"
#include "platform/Log.h"

namespace installer {

void Installer::UndoRun() {
  if (!installing || completed) return;
  // Windows removes neither a loaded DLL nor the current folder.
  ReleaseEngine();
  SetCurrentDirectoryA("\\");
  for (int32_t i = newFiles.Count() - 1; i >= 0; --i) {
    const char* path = static_cast<const char*>(newFiles.Get(i));
    if (DeleteFileA(path)) logfile::Line("Removed", path);
  }
  // Newest first, every folder before its parent; a folder that holds a
  // file of the user's stays, with the file. An earlier run's folders
  // (keptFolders) are not this run's to remove.
  for (int32_t i = createdFolders.Count() - 1; i >= 0; --i) {
    const char* path = static_cast<const char*>(createdFolders.Get(i));
    if (RemoveDirectoryA(path)) logfile::Line("Removed", path);
  }
}

}  // namespace installer
