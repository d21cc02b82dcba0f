// Installers signed after their payload was appended, as publishers ship
// them: the stub finds its payload by scanning, for every project type.
#include <gtest/gtest.h>

#include "tests/e2e/StandaloneFixture.h"
#include "tests/support/Machines.h"

using namespace standalone_e2e;
using testing_support::FileExists;

namespace {

constexpr char kProject[] = "Harbour Tour";

class SignedInstallerTest : public StandaloneTest {
 public:
  SignedInstallerTest() { settings_.projectName = kProject; }
  ~SignedInstallerTest() override {
    testing_support::DeleteClassesRootTree("Applications\\Winamp.exe");
  }

  // Starts the signed installer made from the sample manifest of that name.
  DialogSeen StartSigned(const std::string& manifest, DWORD timeoutMs = kRunMs) {
    std::string installer = std::string(VDL_SIGNED_DIR) + "\\" + manifest + "-signed.exe";
    if (!FileExists(installer)) {
      ADD_FAILURE() << installer << " is missing: ctest makes it (test signed.make)";
      return DialogSeen{};
    }
    EXPECT_TRUE(driver_.Start(installer));
    return driver_.WaitForDialog(timeoutMs);
  }

  // Points the options dialog at this test's folder and installs.
  std::vector<DialogSeen> InstallHere(const DialogSeen& options, DWORD timeoutMs = kRunMs) {
    EXPECT_EQ(settings_.projectName + " Installation Options", options.caption);
    SendMessageA(GetDlgItem(options.window, kPathEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Install().c_str()));
    return InstallToEnd(options.window, timeoutMs);
  }

  // The sample's standalone installation (its installer is branded), to its
  // success message.
  void InstallStandalone(const std::string& manifest, DWORD timeoutMs = kRunMs) {
    DialogSeen options = StartSigned(manifest, timeoutMs);
    ASSERT_NE(nullptr, options.window);
    std::vector<DialogSeen> boxes = InstallHere(options, timeoutMs);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(kDone, boxes[0].text);
    EXPECT_TRUE(FileExists(Install() + "\\uninstall.nfo"));
    testing_support::RemoveTree(testing_support::ProgramsFolder() + "\\Vandrel Tours");
  }
};

TEST_F(SignedInstallerTest, RunInPlace_ViewerRuns) {
  ScopedEnvironment temp("TMP", dir_.Path().c_str());
  DialogSeen none = StartSigned("run-in-place");
  EXPECT_EQ(nullptr, none.window) << none.text;
  EXPECT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_TRUE(testing_support::WaitForLine(log_, "Viewer command VandrelViewer.exe VDLStart.vdl", 0));
}

using SignedInstallerTestOnEachMachine = testing_support::OnEachMachine<SignedInstallerTest>;

// Each stub with the publisher's icon and version information (the sample's
// standalone manifest brands its installer). The installers were packed
// before the run, each with its own machine's stub.
TEST_P(SignedInstallerTestOnEachMachine, BrandedStandalone_Installs) {
  bool i686 = GetParam().arch == Arch::kI686;
  view32_ = i686;
  InstallStandalone(i686 ? "standalone-i686" : "standalone", GetParam().timeoutMs);
}

INSTANTIATE_TEST_SUITE_P(Machines, SignedInstallerTestOnEachMachine, ::testing::ValuesIn(testing_support::kMachines),
                         testing_support::MachineName);

// Each sample has a project name of its own, so that each has its own
// uninstall entry.
TEST_F(SignedInstallerTest, ScreenSaver_Installs) {
  settings_.projectName = "Harbour Tour Screen Saver";
  DialogSeen options = StartSigned("screensaver");
  ASSERT_NE(nullptr, options.window);
  std::vector<DialogSeen> boxes = InstallHere(options);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Installation successfully completed!", boxes[0].text);
  EXPECT_TRUE(FileExists(testing_support::SystemFolder() + "\\Harbour Tour Screen Saver.scr"));
}

TEST_F(SignedInstallerTest, WinampPlugin_Installs) {
  settings_.projectName = "Harbour Tour Visuals";
  std::string player = dir_.File("Winamp");
  CreateDirectoryA(player.c_str(), nullptr);
  CreateDirectoryA((player + "\\Plugins").c_str(), nullptr);
  ASSERT_TRUE(testing_support::SetClassesRootDefault("Applications\\Winamp.exe\\shell\\open\\command",
                                                     "\"" + player + "\\winamp.exe\" \"%1\""));
  DialogSeen options = StartSigned("winamp-plugin");
  ASSERT_NE(nullptr, options.window);
  std::vector<DialogSeen> boxes = InstallHere(options);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_TRUE(FileExists(player + "\\Plugins\\vis_Harbour Tour Visuals.dll"));
}

}  // namespace
