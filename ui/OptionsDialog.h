#pragma once
#include <windows.h>

namespace ui {

// The modal "Installation Options" dialog: proposes a target folder, lets
// the user edit it or pick one with the folder browser, and ends accepted
// ("Install") or not.
class OptionsDialog {
 public:
  OptionsDialog();
  virtual ~OptionsDialog() {}
  OptionsDialog(const OptionsDialog&) = delete;
  OptionsDialog& operator=(const OptionsDialog&) = delete;

  virtual bool Show(HINSTANCE instance, HWND parent, const char* initialPath);
  virtual const char* GetDirectory();
  virtual void OnInitDialog(HWND dialog);
  virtual void OnInstall();
  virtual void OnBrowse(HWND dialog);
  virtual void OnPathEdited(const char* text);
  virtual void SetProjectName(const char* name);

  const char* Caption() const { return caption_; }
  // After Show returned false: the system's error when the dialog could not
  // be made, 0 when the user cancelled.
  DWORD ShowError() const { return showError_; }

 private:
  char caption_[300];
  // Room for a folder of whole double-byte characters longer than any path,
  // so that one too long is refused as such rather than cut.
  char path_[2 * 260];
  bool accepted_;
  DWORD showError_;
};

// Whether a folder text can be installed into: an absolute path with a drive
// letter ("C:\...") or a network share ("\\server\share...").
bool IsFullFolderPath(const char* path);

// Whether the names of a full folder path are ones Windows allows (no
// character it refuses, no device name, no name ending in a dot or a space)
// and it is no drive's or share's root.
bool HasAllowedNames(const char* path);

// The dialog's refusals of a folder text, each with its message captioned
// caption: letters outside the code page, a text too long for a path, a text
// that is no full path, a root or a name Windows refuses.
// True when refused.
bool RefusedFolder(const char* path, const char* caption);

}  // namespace ui
