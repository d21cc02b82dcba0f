#include "platform/FolderBrowser.h"

#include <shlobj.h>

#include "platform/AnsiFolder.h"

namespace platform {

Browsed BrowseForFolder(HWND owner, const wchar_t* title, char* folder, int size, wchar_t* wide) {
  wchar_t displayName[MAX_PATH];
  BROWSEINFOW browse = {};
  browse.hwndOwner = owner;
  browse.pszDisplayName = displayName;
  browse.lpszTitle = title;
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
  LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
  if (chosen == nullptr) return Browsed::kCancelled;
  // Read in UTF-16: a folder below a user's name outside the code page would
  // come back as question marks.
  wide[0] = 0;
  bool found = SHGetPathFromIDListW(chosen, wide) != FALSE;
  CoTaskMemFree(chosen);
  if (!found) return Browsed::kTooLong;
  return AnsiFolder(wide, folder, size) ? Browsed::kChosen : Browsed::kOutsideCodePage;
}

}  // namespace platform
