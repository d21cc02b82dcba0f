#include "ui/LicenceDialog.h"

#include "ui/ResourceIds.h"
#include "ui/TextTable.h"

namespace ui {
namespace {

constexpr int kWordChars = 300;

void SetWords(HWND dialog, int control, texts::Id id) {
  wchar_t words[kWordChars];
  TextOf(id, words, kWordChars);
  if (control == 0) {
    SetWindowTextW(dialog, words);
  } else {
    SetDlgItemTextW(dialog, control, words);
  }
}

INT_PTR CALLBACK LicenceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWords(dialog, 0, texts::Id::kCaptionLicence);
    SetWords(dialog, IDC_LICENCE_PROMPT, texts::Id::kLicencePrompt);
    SetWords(dialog, IDC_LICENCE_ACCEPT, texts::Id::kLicenceAccept);
    SetWords(dialog, IDC_LICENCE_NEXT, texts::Id::kButtonNext);
    SetWords(dialog, IDCANCEL, texts::Id::kButtonCancel);
    SetDlgItemTextW(dialog, IDC_LICENCE_TEXT, reinterpret_cast<const wchar_t*>(lParam));
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_LICENCE_ACCEPT:
      // Next goes on only while the box is ticked.
      EnableWindow(GetDlgItem(dialog, IDC_LICENCE_NEXT),
                   SendDlgItemMessageW(dialog, IDC_LICENCE_ACCEPT, BM_GETCHECK, 0, 0) == BST_CHECKED);
      return TRUE;
    case IDC_LICENCE_NEXT:
      if (SendDlgItemMessageW(dialog, IDC_LICENCE_ACCEPT, BM_GETCHECK, 0, 0) != BST_CHECKED) return TRUE;
      EndDialog(dialog, 1);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 2);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

LicenceAnswer ShowLicence(HINSTANCE instance, HWND parent, const wchar_t* text, DWORD* error) {
  INT_PTR answer = DialogBoxParamW(instance, L"" IDD_EULA_NAME, parent, LicenceDialogProc,
                                   reinterpret_cast<LPARAM>(text));
  *error = answer == 1 || answer == 2 ? 0 : GetLastError();
  if (answer == 1) return LicenceAnswer::kAccepted;
  return answer == 2 ? LicenceAnswer::kCancelled : LicenceAnswer::kNotShown;
}

}  // namespace ui
