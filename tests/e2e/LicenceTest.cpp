// The publisher's licence, accepted before the installation asks anything
// else: shown in a box that scrolls, Next only once "I accept" is ticked,
// Cancel writing nothing; with /S taken as given. In the user's language
// where the installer has the licence in it.
#include <windows.h>

#include "packager/LanguageBlock.h"
#include "tests/e2e/StandaloneFixture.h"
#include "tests/support/TempDir.h"

namespace standalone_e2e {
namespace {

using testing_support::FileExists;

enum { kLicenceText = 1007, kAccept = 1008, kNext = 1009 };

const std::string kEnglishLicence = "You may use this tour.\r\nYou may not sell it \xE2\x98\x83.";
const std::string kGermanLicence = "Sie d\xC3\xBCrfen diese Tour nutzen.";

class LicenceTest : public StandaloneTest {
 protected:
  void CarryLicence(bool german = false) {
    alterProject_ = [german](packager::PayloadBuilder& project) {
      project.Add("LICN", "*", LicenceItem(kEnglishLicence));
      if (!german) return;
      project.Add("LANG", "de", packager::LanguageBlock(0x0407, false, {{texts::Id::kCaptionLicence, "Lizenzvertrag"}}));
      project.Add("LICN", "de", LicenceItem(kGermanLicence));
    };
  }

  // The licence dialog of a run started with these arguments.
  DialogSeen StartShowingLicence(const std::string& arguments = "") {
    WriteSetup();
    EXPECT_TRUE(driver_.Start(dir_.File("setup.exe"), arguments));
    DialogSeen licence = driver_.WaitForDialog(kRunMs);
    EXPECT_NE(nullptr, licence.window);
    if (licence.window != nullptr) EXPECT_NE(nullptr, GetDlgItem(licence.window, kAccept)) << "no licence dialog";
    return licence;
  }
};

TEST_F(LicenceTest, Shown_NextOnlyOnceTickedThenTheOptionsAndTheInstallation) {
  CarryLicence();
  DialogSeen licence = StartShowingLicence();
  ASSERT_NE(nullptr, licence.window);
  EXPECT_EQ("License Agreement", licence.caption);
  EXPECT_EQ(kEnglishLicence, StubDriver::Utf8Text(GetDlgItem(licence.window, kLicenceText)));
  EXPECT_EQ("I accept the agreement", StubDriver::Utf8Text(GetDlgItem(licence.window, kAccept)));
  HWND next = GetDlgItem(licence.window, kNext);
  EXPECT_EQ("Next >", StubDriver::Utf8Text(next));
  EXPECT_FALSE(IsWindowEnabled(next));
  // Next unticked, as a keyboard's Enter would send it: nothing goes on.
  EXPECT_FALSE(driver_.Press(licence.window, kNext, 1500));
  EXPECT_FALSE(FileExists(Install()));
  SendMessageA(GetDlgItem(licence.window, kAccept), BM_CLICK, 0, 0);
  EXPECT_TRUE(IsWindowEnabled(next));
  SendMessageA(GetDlgItem(licence.window, kAccept), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowEnabled(next));
  SendMessageA(GetDlgItem(licence.window, kAccept), BM_CLICK, 0, 0);
  ASSERT_TRUE(driver_.Press(licence.window, kNext));
  DialogSeen options = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, options.window);
  EXPECT_NE(nullptr, GetDlgItem(options.window, kPathEdit));
  std::vector<DialogSeen> boxes = InstallToEnd(options.window);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(0u, driver_.ExitCode());
  EXPECT_TRUE(FileExists(Install() + "\\VandrelViewer.exe"));
}

TEST_F(LicenceTest, Cancelled_CodeTwoNothingWritten) {
  CarryLicence();
  DialogSeen licence = StartShowingLicence();
  ASSERT_NE(nullptr, licence.window);
  CancelWritingNothing(licence.window);
}

TEST_F(LicenceTest, Silent_AcceptanceTakenAsGiven) {
  CarryLicence();
  std::string folder = dir_.File("Harbour");
  EXPECT_EQ(0u, RunSilently("/S /D=" + folder));
  EXPECT_TRUE(FileExists(folder + "\\VandrelViewer.exe"));
}

// The licence of the language the installer speaks; the one for every
// language where it has none in the one asked for.
TEST_F(LicenceTest, InTheLanguageShown_ElseTheOneForEveryLanguage) {
  CarryLicence(true);
  DialogSeen licence = StartShowingLicence("/LANG=de");
  ASSERT_NE(nullptr, licence.window);
  EXPECT_EQ("Lizenzvertrag", StubDriver::Utf8Text(licence.window));
  EXPECT_EQ(kGermanLicence, StubDriver::Utf8Text(GetDlgItem(licence.window, kLicenceText)));
  ASSERT_TRUE(driver_.Press(licence.window, IDCANCEL));
  ASSERT_TRUE(driver_.WaitForExit(kRunMs));
  driver_.Reset();
  licence = StartShowingLicence("/LANG=fr");
  ASSERT_NE(nullptr, licence.window);
  EXPECT_EQ(kEnglishLicence, StubDriver::Utf8Text(GetDlgItem(licence.window, kLicenceText)));
  ASSERT_TRUE(driver_.Press(licence.window, IDCANCEL));
  ASSERT_TRUE(driver_.WaitForExit(kRunMs));
}

}  // namespace
}  // namespace standalone_e2e
