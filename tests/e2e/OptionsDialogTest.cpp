// The options dialog of a standalone installer, worked from outside as a
// user works it: keys, buttons, the close box, the folder browser.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "tests/e2e/StandaloneFixture.h"

using namespace standalone_e2e;
using testing_support::FileExists;

namespace {

constexpr char kRefused[] = "Please enter the full path of the installation folder.";
constexpr char kRefusedName[] = "Please choose a folder, not a drive, whose names Windows allows.";

class OptionsDialogTest : public StandaloneTest {
 public:
  HWND Options() {
    DialogSeen options = Start();
    EXPECT_NE(nullptr, options.window);
    return options.window;
  }

  HWND Edit(HWND options) { return GetDlgItem(options, kPathEdit); }

  void Type(HWND options, const std::string& text) {
    SendMessageA(Edit(options), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }

  void Key(HWND window, UINT message, WPARAM key, LPARAM flags = 0) { PostMessageA(window, message, key, flags); }

  // Install with this text: the refusal, captioned as the dialog, and the
  // dialog still open after OK.
  void ExpectRefused(HWND options, const std::string& text, const char* refusal) {
    Type(options, text);
    PostMessageA(options, WM_COMMAND, MAKEWPARAM(kInstall, BN_CLICKED), 0);
    DialogSeen box = driver_.WaitForDialog(kRunMs);
    ASSERT_NE(nullptr, box.window);
    EXPECT_EQ(refusal, box.text);
    EXPECT_EQ(settings_.projectName + " Installation Options", box.caption);
    EXPECT_TRUE(driver_.Press(box.window, IDOK));
    EXPECT_TRUE(StillOpen(options));
  }

  // The installer ended without writing anything and without a progress window.
  void ExpectNothingDone() {
    DialogSeen next = driver_.WaitForDialog(kRunMs);
    EXPECT_EQ(nullptr, next.window) << next.caption;
    EXPECT_TRUE(driver_.WaitForExit(kRunMs));
    EXPECT_FALSE(FileExists(dir_.File("Apps")));
    EXPECT_FALSE(FileExists(Menu()));
  }

  bool StillOpen(HWND options) {
    Sleep(800);
    return IsWindow(options) && IsWindowVisible(options);
  }
};

TEST_F(OptionsDialogTest, Cancel_RefusesAndNothingIsWritten) {
  EXPECT_TRUE(driver_.Press(Options(), kCancel));
  ExpectNothingDone();
}

TEST_F(OptionsDialogTest, CloseBox_RefusesAndNothingIsWritten) {
  Key(Options(), WM_SYSCOMMAND, SC_CLOSE);
  ExpectNothingDone();
}

TEST_F(OptionsDialogTest, AltF4_RefusesAndNothingIsWritten) {
  // As the keyboard sends it: a system key with the Alt bit set.
  Key(Options(), WM_SYSKEYDOWN, VK_F4, 1 << 29);
  ExpectNothingDone();
}

TEST_F(OptionsDialogTest, Escape_LeavesTheDialogOpen) {
  HWND options = Options();
  Key(Edit(options), WM_KEYDOWN, VK_ESCAPE);
  EXPECT_TRUE(StillOpen(options));
  EXPECT_TRUE(driver_.Press(options, kCancel));
  ExpectNothingDone();
}

TEST_F(OptionsDialogTest, Enter_AcceptsAndInstalls) {
  HWND options = Options();
  Key(Edit(options), WM_KEYDOWN, VK_RETURN);
  std::vector<DialogSeen> boxes = driver_.AnswerAllUntilExit(kRunMs);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(kDone, boxes[0].text);
  EXPECT_TRUE(FileExists(Install() + "\\uninstall.nfo"));
}

TEST_F(OptionsDialogTest, TextsThatNameNoUsableFolder_KeepTheDialogOpen) {
  HWND options = Options();
  for (const char* text : {"", "Apps\\Tour", "\\Apps\\Tour", "C:Apps", "\\\\server", "\\\\server\\"}) {
    SCOPED_TRACE(text);
    ExpectRefused(options, text, kRefused);
  }
  // A drive's root, or names Windows refuses, before any folder is made.
  for (const std::string& text : {std::string("C:\\"), std::string("C:/"), dir_.File("Pipe\\pi|pe"),
                                  dir_.File("Devices\\CON"), dir_.File("Dots\\Tour."), dir_.File("Space\\Tour "),
                                  dir_.File("Stream\\Tour:x")}) {
    SCOPED_TRACE(text);
    ExpectRefused(options, text, kRefusedName);
  }
  // Too long to hold, read whole rather than cut to a path that fits; too
  // long for Windows to make as a folder (248 and more), refused before the
  // folders on the way to it are made.
  const std::string longer = dir_.File("Long\\") + std::string(300, 'x');
  std::string deep = dir_.File("Deep\\");
  deep += std::string(248 - deep.size(), 'd');
  for (const std::string& text : {longer, deep, deep + "\\"}) {
    SCOPED_TRACE(text.size());
    ExpectRefused(options, text, "The path of the installation folder is too long.");
  }
  for (const char* made : {"Pipe", "Devices", "Dots", "Space", "Stream", "Long", "Deep"}) {
    EXPECT_FALSE(FileExists(dir_.File(made)));
  }
  // Letters the code page lacks are refused for that, not at the first file
  // as a locked one; nor is a letter taken for a look-alike the code page
  // has, which would install into another folder than the one shown.
  for (const wchar_t* text : {L"C:\\\u041f\u0440\u043e\u0435\u043a\u0442", L"C:\\Games\\\u014Ckami"}) {
    SendMessageW(Edit(options), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    PostMessageA(options, WM_COMMAND, MAKEWPARAM(kInstall, BN_CLICKED), 0);
    DialogSeen box = driver_.WaitForDialog(kRunMs);
    ASSERT_NE(nullptr, box.window);
    EXPECT_EQ(0u, box.text.find("The installer cannot use this folder: its name has characters outside")) << box.text;
    EXPECT_TRUE(driver_.Press(box.window, IDOK));
    EXPECT_TRUE(StillOpen(options));
  }
  // A network share is a full folder: it is taken.
  Type(options, Install());
  InstallToEnd(options);
  EXPECT_TRUE(FileExists(Install() + "\\uninstall.nfo"));
}

TEST_F(OptionsDialogTest, BrowseCancelled_NothingChanges) {
  HWND options = Options();
  PostMessageA(options, WM_COMMAND, MAKEWPARAM(kBrowse, BN_CLICKED), 0);
  DialogSeen browser = driver_.WaitForFolderBrowser(kRunMs);
  ASSERT_NE(nullptr, browser.window);
  EXPECT_TRUE(driver_.PressUntilGone(browser.window, IDCANCEL));
  EXPECT_EQ(Install(), StubDriver::ControlText(Edit(options)));
  EXPECT_TRUE(driver_.Press(options, kCancel));
  ExpectNothingDone();
}

TEST_F(OptionsDialogTest, BrowseChosen_FolderPathInTheEdit) {
  HWND options = Options();
  PostMessageA(options, WM_COMMAND, MAKEWPARAM(kBrowse, BN_CLICKED), 0);
  DialogSeen browser = driver_.WaitForFolderBrowser(kRunMs);
  ASSERT_NE(nullptr, browser.window);
  EXPECT_EQ("Select Installation Directory", StubDriver::ControlText(GetDlgItem(browser.window, 0x3742)));
  // The browser starts on the desktop; taking it chooses the desktop folder.
  EXPECT_TRUE(driver_.PressUntilGone(browser.window, IDOK));
  char desktop[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
  EXPECT_EQ(desktop, StubDriver::ControlText(Edit(options)));
  EXPECT_TRUE(driver_.Press(options, kCancel));
}

}  // namespace
