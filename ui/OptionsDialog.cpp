#include "ui/OptionsDialog.h"

#include <string.h>

#include "payload/ItemName.h"
#include "payload/PayloadFormat.h"
#include "platform/AnsiChars.h"
#include "platform/AnsiFolder.h"
#include "platform/FolderBrowser.h"
#include "platform/FolderMessage.h"
#include "platform/Message.h"
#include "platform/Text.h"
#include "ui/ResourceIds.h"

namespace ui {
namespace {

constexpr size_t kMaxPath = payload::kPathSize - 1;

// Every command the dialog answers; the system's cancel (Escape) is not one.
void OnCommand(HWND dialog, OptionsDialog* self, WORD id, WORD notification, HWND control) {
  switch (id) {
    case IDC_INSTALL:
      if (RefusedFolder(self->GetDirectory(), self->Caption())) return;
      self->OnInstall();
      EndDialog(dialog, 0);
      return;
    case IDC_PATH_EDIT:
      if (notification == EN_CHANGE) {
        // Read as typed: the ANSI call would map letters the code page lacks
        // to look-alikes, and the installation would go to another folder
        // than the one shown. What has no exact form is refused at Install.
        wchar_t typed[kMaxPath + 1];
        char buffer[2 * kMaxPath + 1];
        GetWindowTextW(control, typed, kMaxPath + 1);
        if (!platform::ConvertExactly(typed, buffer, sizeof(buffer))) text::CopyAtMost(buffer, "?", 1);
        self->OnPathEdited(buffer);
      }
      return;
    case IDC_BROWSE:
      self->OnBrowse(dialog);
      return;
    case IDC_CANCEL_BUTTON:
      EndDialog(dialog, 0);
      return;
    default:
      return;
  }
}

// Returns 0 for everything, so that the system's default handling runs and
// no initial focus is set.
INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
      auto* self = reinterpret_cast<OptionsDialog*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
      if (self != nullptr) self->OnInitDialog(dialog);
      break;
    }
    case WM_COMMAND: {
      auto* self = reinterpret_cast<OptionsDialog*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
      if (self != nullptr) OnCommand(dialog, self, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      break;
    }
    case WM_SYSCOMMAND:
      if (wParam == SC_CLOSE) EndDialog(dialog, 0);
      break;
    case WM_DESTROY:
      EndDialog(dialog, 0);
      break;
    default:
      break;
  }
  return 0;
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool RefusedFolder(const char* path, const char* caption) {
  // Letters the code page lacks reach an ANSI dialog as question marks,
  // which no folder name holds: the folder is refused for what it is, not at
  // the first file with a message about locked files.
  if (strstr(path, "?") != nullptr) {
    message::Show(platform::kOutsideCodePage, caption, message::kOk | message::kIconError);
    return true;
  }
  // Cut, the path would end inside a character or name a folder that is
  // not the one typed.
  if (strlen(path) > kMaxPath) {
    message::Show("The path of the installation folder is too long.", caption, message::kOk);
    return true;
  }
  // A text that names no full folder would install into the root or the
  // current folder of whatever drive the installer runs from.
  if (!IsFullFolderPath(path)) {
    message::Show("Please enter the full path of the installation folder.", caption, message::kOk);
    return true;
  }
  // Refused before anything is made: Windows would refuse the name only at
  // the first file, after the folders on the way to it were made, or take
  // "CON" for a device and drop a trailing dot.
  if (!HasAllowedNames(path)) {
    message::Show("Please choose a folder, not a drive, whose names Windows allows.", caption, message::kOk);
    return true;
  }
  return false;
}

bool HasAllowedNames(const char* path) {
  // What follows the drive ("C:\") or the share ("\\server\share\").
  const char* rest = path + 3;
  if (IsSeparator(path[0])) {
    int separators = 0;
    for (rest = path + 2; *rest != '\0' && separators < 2; rest += text::CharBytes(rest)) {
      if (text::IsSeparatorAt(rest)) ++separators;
    }
  }
  char names[kMaxPath + 1];
  size_t length = text::CopyWholeChars(names, rest, kMaxPath);
  // One separator at the end names the same folder.
  const char* last = text::LastSeparator(names);
  if (last != nullptr && static_cast<size_t>(last - names) + 1 == length) names[length - 1] = '\0';
  return names[0] != '\0' && payload::WindowsNameFault(names, nullptr, GetACP()) == payload::NameFault::kNone;
}

bool IsFullFolderPath(const char* path) {
  if (path == nullptr) return false;
  if (IsLetter(path[0]) && path[1] == ':' && IsSeparator(path[2])) return true;
  // \\server\share: both names present.
  if (!IsSeparator(path[0]) || !IsSeparator(path[1])) return false;
  const char* server = path + 2;
  const char* end = server;
  while (*end != '\0' && !text::IsSeparatorAt(end)) end += text::CharBytes(end);
  return end > server && *end != '\0' && end[1] != '\0' && !IsSeparator(end[1]);
}

OptionsDialog::OptionsDialog() : accepted_(false), showError_(0) {
  text::CopyAtMost(caption_, "Installation Options", sizeof(caption_) - 1);
  path_[0] = '\0';
}

bool OptionsDialog::Show(HINSTANCE instance, HWND, const char* initialPath) {
  if (initialPath != nullptr) text::CopyWholeChars(path_, initialPath, sizeof(path_) - 1);
  // A dialog that cannot be made (no memory, no desktop) must not end the
  // installation as a cancel would, without a word.
  showError_ = 0;
  if (DialogBoxParamA(instance, "IDD_ISNTALLDIALOG", nullptr, OptionsDialogProc, reinterpret_cast<LPARAM>(this)) == -1) {
    showError_ = GetLastError();
    if (showError_ == 0) showError_ = ERROR_NOT_ENOUGH_MEMORY;
  }
  return accepted_;
}

const char* OptionsDialog::GetDirectory() { return path_; }

void OptionsDialog::OnInitDialog(HWND dialog) {
  SetWindowTextA(GetDlgItem(dialog, IDC_PATH_EDIT), path_);
  SetWindowTextA(dialog, caption_);
}

void OptionsDialog::OnInstall() { accepted_ = true; }

void OptionsDialog::OnBrowse(HWND dialog) {
  // A folder that cannot be named is reported and the text stays as it was.
  char chosen[kMaxPath + 1];
  if (!platform::BrowseForFolder(dialog, "Select Installation Directory", chosen, sizeof(chosen))) return;
  text::CopyWholeChars(path_, chosen, sizeof(path_) - 1);
  SetWindowTextA(GetDlgItem(dialog, IDC_PATH_EDIT), path_);
}

void OptionsDialog::OnPathEdited(const char* text) {
  if (text != nullptr) text::CopyWholeChars(path_, text, sizeof(path_) - 1);
}

void OptionsDialog::SetProjectName(const char* name) {
  if (name == nullptr) return;
  // A name too long for the suffix is cut so that the suffix always shows.
  constexpr char kSuffix[] = " Installation Options";
  text::CopyWholeChars(caption_, name, sizeof(caption_) - sizeof(kSuffix));
  text::Append(caption_, sizeof(caption_), kSuffix);
}

}  // namespace ui
