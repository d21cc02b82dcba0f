// Installing over an earlier installation, and installations that fail half
// way: the uninstall record keeps what every run made, the earlier folder is
// offered again, and a failed run leaves nothing of its own behind.
#include <gtest/gtest.h>

#include "tests/e2e/StandaloneFixture.h"

using namespace standalone_e2e;
using testing_support::FileExists;

namespace {

class UpgradeTest : public StandaloneTest {
 public:
  UpgradeTest() { settings_.installPath = dir_.File("Offered"); }

  // The project with these files of its own besides the tour's.
  void Version(const std::map<std::string, packager::Bytes>& files) {
    alterProject_ = [files](packager::PayloadBuilder& project) { testing_support::AddProjectFiles(project, files); };
  }

  // Installs through the options dialog into folder; the folder the dialog
  // offered.
  std::string InstallInto(const std::string& folder) {
    DialogSeen options = Start();
    EXPECT_NE(nullptr, options.window);
    if (options.window == nullptr) return "";
    std::string offered = StubDriver::ControlText(GetDlgItem(options.window, kPathEdit));
    SendMessageA(GetDlgItem(options.window, kPathEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    std::vector<DialogSeen> boxes = InstallToEnd(options.window);
    EXPECT_FALSE(boxes.empty());
    if (!boxes.empty()) EXPECT_EQ(kDone, boxes.back().text);
    driver_.Reset();
    return offered;
  }

  void Uninstall(const std::string& folder) {
    StubDriver uninstaller;
    ASSERT_TRUE(uninstaller.Start(folder + "\\VDLUnInst.exe"));
    ASSERT_TRUE(uninstaller.WaitForExit(kRunMs));
    ASSERT_TRUE(testing_support::WaitForLine(log_, "Uninstall done", kRunMs));
  }

  // A run that fails after the links are made: the engine does not start.
  std::vector<DialogSeen> InstallFailingAfterTheLinks() {
    ScopedEnvironment fail("VDL_ENGINE_FAIL", "initialise");
    std::vector<DialogSeen> boxes = InstallAll();
    driver_.Reset();
    return boxes;
  }

  std::string Chosen() const { return dir_.File("Chosen\\Harbour"); }
};

// Version 2 has one file fewer and one folder more; the user keeps a file of
// their own in the folder. The uninstaller removes both versions whole.
TEST_F(UpgradeTest, SecondVersionInTheOfferedFolder_UninstallLeavesNothingButTheUsersFile) {
  const packager::Bytes text = {'t', 'o', 'u', 'r'};
  Version({{"extras\\notes\\readme.cgr", text}});
  EXPECT_EQ(dir_.File("Offered"), InstallInto(Chosen()));
  ASSERT_TRUE(FileExists(Chosen() + "\\extras\\notes\\readme.cgr"));
  std::string mine = Chosen() + "\\my notes.txt";
  ASSERT_TRUE(testing_support::WriteFileBytes(mine, "mine", 4));
  Version({{"more\\new.cgr", text}});
  // Offered where version 1 went, not where the payload says.
  EXPECT_EQ(Chosen(), InstallInto(Chosen()));
  ASSERT_TRUE(FileExists(Chosen() + "\\more\\new.cgr"));
  Uninstall(Chosen());
  EXPECT_EQ(std::set<std::string>{"my notes.txt"}, testing_support::NamesBelow(Chosen()));
  EXPECT_FALSE(FileExists(Menu()));
  EXPECT_FALSE(testing_support::MachineKeyExists(kUninstallKey + settings_.projectName, view32_));
}

// A first installation that fails after its links, and one cancelled in the
// dialog, leave nothing; a failed second one leaves the first to be removed
// whole.
TEST_F(UpgradeTest, FailedOrCancelledRuns_LeaveNothingOfTheirOwn) {
  settings_.installPath = Chosen();
  std::vector<DialogSeen> boxes = InstallFailingAfterTheLinks();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(0u, boxes[0].text.find("The engine, Tessaron.dll, could not be started.")) << boxes[0].text;
  EXPECT_FALSE(FileExists(dir_.File("Chosen")));
  EXPECT_FALSE(FileExists(Menu()));
  EXPECT_FALSE(testing_support::MachineKeyExists(kUninstallKey + settings_.projectName, view32_));
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  ASSERT_TRUE(driver_.Press(options.window, kCancel));
  ASSERT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_FALSE(FileExists(dir_.File("Chosen")));
  driver_.Reset();

  InstallInto(Chosen());
  std::set<std::string> first = testing_support::NamesBelow(Chosen());
  Version({{"more\\new.cgr", {'n', 'e', 'w'}}});
  InstallFailingAfterTheLinks();
  EXPECT_EQ(first, testing_support::NamesBelow(Chosen()));
  Uninstall(Chosen());
  EXPECT_FALSE(FileExists(dir_.File("Chosen")));
  EXPECT_FALSE(FileExists(Menu()));
}

}  // namespace
