#pragma once
#include <windows.h>

#include "platform/FolderBrowser.h"

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

  // The folder proposed: initialPath, or, where the code page cannot hold
  // the folder given, that folder as typed (initialPath null).
  virtual bool Show(HINSTANCE instance, HWND parent, const char* initialPath, const wchar_t* typedPath = nullptr);
  // The folder accepted; null when the text has no exact form in the code
  // page (refused at Install, so never once accepted).
  virtual const char* GetDirectory();
  virtual void OnInitDialog(HWND dialog);
  virtual void OnInstall();
  virtual void OnBrowse(HWND dialog);
  virtual void OnPathEdited(const char* text);
  virtual void SetProjectName(const char* name);

  const wchar_t* Caption() const { return caption_; }
  // After Show returned false: the system's error when the dialog could not
  // be made, 0 when the user cancelled.
  DWORD ShowError() const { return showError_; }

 private:
  static constexpr int kCaptionChars = 300;
  wchar_t caption_[kCaptionChars];
  // Room for a folder of whole double-byte characters longer than any path,
  // so that one too long is refused as such rather than cut.
  char path_[2 * 260];
  bool accepted_;
  // Whether the text holds a folder the code page can name; typed_ the
  // given one that it cannot, until changed.
  bool exact_;
  const wchar_t* typed_;
  DWORD showError_;
};

// The dialog's refusals of a folder text, each with its message captioned
// caption: letters outside the code page (a null path), a text too long for
// a path, a text that is no full path, a root or a name Windows refuses.
// True when refused.
bool RefusedFolder(const char* path, const wchar_t* caption);

// What the folder browser did not give, told: nothing for a cancel.
void ReportBrowsed(platform::Browsed browsed, const wchar_t* folder);

}  // namespace ui
