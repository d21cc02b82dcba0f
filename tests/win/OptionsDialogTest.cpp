// The options dialog in this process, worked by a second thread as a user
// would work it, so that what the dialog object holds can be seen.
#include <gtest/gtest.h>

#include <thread>

#include "tests/support/MessageRecorder.h"
#include "ui/OptionsDialog.h"
#include "ui/ResourceIds.h"

namespace {

// Waits for this process's dialog with the caption, types text into its
// path edit and presses Install.
void TypeAndInstall(const std::string& caption, const std::string& text) {
  HWND dialog = nullptr;
  for (int i = 0; i < 200 && dialog == nullptr; ++i) {
    dialog = FindWindowA("#32770", caption.c_str());
    if (dialog == nullptr) Sleep(50);
  }
  if (dialog == nullptr) return;
  SendDlgItemMessageA(dialog, IDC_PATH_EDIT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_INSTALL, BN_CLICKED), 0);
}

// The longest folder Windows makes is read whole; a longer text is refused
// (the end-to-end options dialog test), never cut to one that fits.
TEST(OptionsDialog, LongestFolderWindowsMakes_TakenWhole) {
  ui::OptionsDialog dialog;
  dialog.SetProjectName("Tour");
  std::string typed = "C:\\" + std::string(244, 'a');
  std::thread user(TypeAndInstall, "Tour Installation Options", typed);
  bool accepted = dialog.Show(GetModuleHandleA(nullptr), nullptr, "C:\\Apps\\Tour");
  user.join();
  EXPECT_TRUE(accepted);
  EXPECT_EQ(typed, dialog.GetDirectory());
}

TEST(OptionsDialog, Captions_NameAndSuffixOrUnchanged) {
  ui::OptionsDialog dialog;
  dialog.SetProjectName(nullptr);
  EXPECT_EQ("Installation Options", testing_support::Utf8(dialog.Caption()));
  dialog.SetProjectName("Tour");
  EXPECT_EQ("Tour Installation Options", testing_support::Utf8(dialog.Caption()));
  // A name too long for both keeps the suffix whole.
  dialog.SetProjectName(std::string(400, 'n').c_str());
  std::string caption = testing_support::Utf8(dialog.Caption());
  EXPECT_EQ(299u, caption.size());
  EXPECT_EQ(" Installation Options", caption.substr(caption.size() - 21));
}

}  // namespace
