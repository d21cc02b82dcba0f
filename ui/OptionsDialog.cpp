#include "ui/OptionsDialog.h"

#include <string.h>

#include "payload/FolderRule.h"
#include "payload/PayloadFormat.h"
#include "platform/AnsiChars.h"
#include "platform/AnsiFolder.h"
#include "platform/FolderBrowser.h"
#include "platform/Text.h"
#include "ui/Report.h"
#include "ui/ResourceIds.h"
#include "ui/TextTable.h"

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
        // One letter more than any path, so that a longer text is refused as
        // too long rather than cut to one that fits.
        wchar_t typed[kMaxPath + 2];
        char buffer[2 * (kMaxPath + 1) + 1];
        GetWindowTextW(control, typed, kMaxPath + 2);
        self->OnPathEdited(platform::ConvertExactly(typed, buffer, sizeof(buffer)) ? buffer : nullptr);
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

// The first refusal of a folder text, kNone when there is none.
messages::Id Refusal(const char* path) {
  // Letters the code page lacks have no exact form: the folder is refused
  // for what it is, not at the first file with a message about locked files.
  if (path == nullptr) return messages::Id::kFolderOutsideCodePage;
  // Cut, the path would end inside a character or name a folder that is
  // not the one typed.
  size_t length = strlen(path);
  if (length > kMaxPath) return messages::Id::kFolderTooLong;
  // Windows makes no longer folder: refused before the folders on the way
  // to it are made, not at the first file.
  if (length > 0 && text::LastSeparator(path) == path + length - 1) --length;
  if (length > payload::kMaxFolderPath && GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
    return messages::Id::kFolderTooLong;
  }
  // A text that names no full folder would install into the root or the
  // current folder of whatever drive the installer runs from; a root, a
  // reserved name or one Windows would change is refused before anything
  // is made (the rule vpack applies to the folders it packs).
  payload::FolderFault fault = payload::InstallFolderFault(path, GetACP());
  if (fault == payload::FolderFault::kNotFull) return messages::Id::kFolderEmpty;
  if (fault != payload::FolderFault::kNone) return messages::Id::kFolderNotAllowed;
  return messages::Id::kNone;
}

}  // namespace

bool RefusedFolder(const char* path, const wchar_t* caption) {
  messages::Id refusal = Refusal(path);
  if (refusal == messages::Id::kNone) return false;
  Report report;
  NoteWide(report, refusal, caption, 0);
  Tell(report);
  return true;
}

OptionsDialog::OptionsDialog() : accepted_(false), exact_(true), typed_(nullptr), showError_(0) {
  TextOf(texts::Id::kCaptionOptions, caption_, kCaptionChars);
  path_[0] = '\0';
}

bool OptionsDialog::Show(HINSTANCE instance, HWND, const char* initialPath, const wchar_t* typedPath) {
  exact_ = initialPath != nullptr;
  typed_ = exact_ ? nullptr : typedPath;
  if (exact_) text::CopyWholeChars(path_, initialPath, sizeof(path_) - 1);
  // A dialog that cannot be made (no memory, no desktop) must not end the
  // installation as a cancel would, without a word.
  showError_ = 0;
  LPARAM self = reinterpret_cast<LPARAM>(this);
  if (DialogBoxParamW(instance, L"" IDD_OPTIONS_NAME, nullptr, OptionsDialogProc, self) == -1) {
    showError_ = GetLastError();
    if (showError_ == 0) showError_ = ERROR_NOT_ENOUGH_MEMORY;
  }
  return accepted_;
}

const char* OptionsDialog::GetDirectory() { return exact_ ? path_ : nullptr; }

void OptionsDialog::OnInitDialog(HWND dialog) {
  static const struct {
    int control;
    texts::Id text;
  } kWords[] = {{IDC_INSTALL, texts::Id::kButtonInstall},       {IDC_BROWSE, texts::Id::kButtonBrowse},
                {IDC_CANCEL_BUTTON, texts::Id::kButtonCancel}, {IDC_FOLDER_GROUP, texts::Id::kFolderGroup},
                {IDC_FOLDER_PROMPT, texts::Id::kFolderPrompt}};
  wchar_t words[kCaptionChars];
  for (const auto& word : kWords) {
    TextOf(word.text, words, kCaptionChars);
    SetDlgItemTextW(dialog, word.control, words);
  }
  // A folder given as typed that the code page cannot hold is shown as it
  // is, and refused at Install unless the user changes it.
  bool exact = exact_;
  if (typed_ != nullptr) {
    SetWindowTextW(GetDlgItem(dialog, IDC_PATH_EDIT), typed_);
  } else {
    SetWindowTextA(GetDlgItem(dialog, IDC_PATH_EDIT), path_);
  }
  exact_ = exact;
  SetWindowTextW(dialog, caption_);
}

void OptionsDialog::OnInstall() { accepted_ = true; }

void OptionsDialog::OnBrowse(HWND dialog) {
  // A folder that cannot be named is reported and the text stays as it was.
  char chosen[kMaxPath + 1];
  wchar_t title[kCaptionChars];
  wchar_t named[MAX_PATH];
  TextOf(texts::Id::kCaptionBrowse, title, kCaptionChars);
  platform::Browsed browsed = platform::BrowseForFolder(dialog, title, chosen, sizeof(chosen), named);
  if (browsed != platform::Browsed::kChosen) {
    ReportBrowsed(browsed, named);
    return;
  }
  text::CopyWholeChars(path_, chosen, sizeof(path_) - 1);
  SetWindowTextA(GetDlgItem(dialog, IDC_PATH_EDIT), path_);
  exact_ = true;
}

void OptionsDialog::OnPathEdited(const char* text) {
  exact_ = text != nullptr;
  if (exact_) text::CopyWholeChars(path_, text, sizeof(path_) - 1);
}

void OptionsDialog::SetProjectName(const char* name) {
  if (name == nullptr) return;
  // A name too long for the suffix is cut so that the suffix always shows.
  wchar_t suffix[kCaptionChars];
  TextOf(texts::Id::kCaptionOptionsSuffix, suffix, kCaptionChars);
  Widen(name, caption_, kCaptionChars - lstrlenW(suffix));
  int length = lstrlenW(caption_);
  for (int i = 0; suffix[i] != 0 && length < kCaptionChars - 1; ++i) caption_[length++] = suffix[i];
  caption_[length] = 0;
}

void ReportBrowsed(platform::Browsed browsed, const wchar_t* folder) {
  if (browsed == platform::Browsed::kCancelled) return;
  Report report;
  if (browsed == platform::Browsed::kTooLong) {
    NoteWide(report, messages::Id::kBrowsedTooLong, nullptr, 0);
  } else {
    NoteWide(report, messages::Id::kOutsideCodePage, folder, GetLastError());
  }
  Tell(report);
}

}  // namespace ui
