#include "platform/FolderBrowser.h"

#include <shlobj.h>

#include "platform/AnsiFolder.h"
#include "platform/FolderMessage.h"

namespace platform {

bool BrowseForFolder(HWND owner, const char* title, char* folder, int size) {
  char displayName[MAX_PATH];
  BROWSEINFOA browse = {};
  browse.hwndOwner = owner;
  browse.pszDisplayName = displayName;
  browse.lpszTitle = title;
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
  if (chosen == nullptr) {
    SetLastError(ERROR_CANCELLED);
    return false;
  }
  // Read in UTF-16: a folder below a user's name outside the code page would
  // come back as question marks.
  wchar_t wide[MAX_PATH];
  bool found = SHGetPathFromIDListW(chosen, wide) != FALSE;
  CoTaskMemFree(chosen);
  if (!found) {
    message::ReportSystemError("The folder's path is too long.", 0);
    return false;
  }
  return AnsiFolder(wide, folder, size);
}

}  // namespace platform
