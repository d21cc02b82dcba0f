// Installations whose files cannot be written: a full disk, a read-only
// folder, the viewer of an earlier installation still running. Each ends in a
// message that says so, never in the success message. The drives R: (full)
// and S: (read-only) come from the test fixture drives.mount.
#include <shlobj.h>

#include <random>

#include "packager/EngineFormat.h"
#include "tests/e2e/StandaloneFixture.h"
#include "tests/support/Machines.h"
#include "tests/support/ExpectedMessages.h"
#include "tests/support/ViewerHold.h"

namespace {

using namespace standalone_e2e;

using testing_support::AsShown;
using testing_support::CopyErrorFor;
using testing_support::kCopyError;

bool ShowsStarting(const std::vector<DialogSeen>& boxes, const std::string& start) {
  for (const DialogSeen& box : boxes) {
    if (box.text.compare(0, start.size(), start) == 0 && box.caption == "Installation Error") return true;
  }
  return false;
}

bool Shows(const std::vector<DialogSeen>& boxes, const std::string& text) {
  for (const DialogSeen& box : boxes) {
    if (box.text == text) return true;
  }
  return false;
}

class UnwritableTargetTest : public StandaloneTest {
 public:
  ~UnwritableTargetTest() override {
    if (!removeAfter_.empty()) testing_support::RemoveTree(removeAfter_);
  }

  static bool HasDrive(const char* root) { return GetFileAttributesA(root) != INVALID_FILE_ATTRIBUTES; }

  bool HasUninstallKey() const {
    return testing_support::MachineKeyExists(kUninstallKey + settings_.projectName, view32_);
  }

  std::string removeAfter_;
};

TEST_F(UnwritableTargetTest, DiskFullInAProjectFile_InstallationErrorNoSuccessNoPartFile) {
  if (!HasDrive("R:\\")) GTEST_SKIP() << "no 1 MiB drive R: (tmpfs could not be mounted)";
  settings_.installPath = "R:\\" + menu_;
  removeAfter_ = settings_.installPath;
  // Three MiB that do not compress, on a drive of one.
  alterProject_ = [](packager::PayloadBuilder& project) {
    std::mt19937 random(7);
    packager::Bytes noise(3 << 20);
    for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
    ASSERT_TRUE(testing_support::ReplaceItem(project, "scenes\\Quay.vdl", packager::EngineEncode(noise)));
  };
  std::vector<DialogSeen> boxes = InstallAll();
  // What failed and why: the file, and the system's words for a full disk.
  EXPECT_TRUE(ShowsStarting(boxes, AsShown(CopyErrorFor(Install() + "\\scenes\\Quay.vdl", ERROR_DISK_FULL))));
  EXPECT_FALSE(Shows(boxes, kDone));
  // What the failed run made is removed again, its folder with it.
  EXPECT_FALSE(testing_support::FileExists(Install()));
  EXPECT_FALSE(HasUninstallKey());
}

TEST_F(UnwritableTargetTest, ReadOnlyFolder_InstallationErrorAndNothingElseMade) {
  if (!HasDrive("S:\\Locked")) GTEST_SKIP() << "no read-only drive S: (tmpfs could not be mounted)";
  settings_.installPath = "S:\\Locked";
  std::vector<DialogSeen> boxes = InstallAll();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_TRUE(ShowsStarting(boxes, std::string(kCopyError) + "\n" + Install() + "\\VandrelViewer.exe\n\n"))
      << boxes[0].text;
  EXPECT_FALSE(testing_support::FileExists(Menu()));
  EXPECT_FALSE(HasUninstallKey());
}

// The viewer of the earlier installation still runs: the installer names the
// file it cannot replace and asks; Cancel ends it as cancelled, no success.
TEST_F(UnwritableTargetTest, ViewerOfAnEarlierInstallationRunning_NamedCancelledNoSuccess) {
  // Gone before the fixture removes the folder the viewer holds.
  testing_support::ViewerHold held(dir_.File("release"), log_);
  settings_.runAfterInstall = 1;
  {
    ScopedEnvironment hold("VDL_VIEWER_HOLD", held.ReleaseFile().c_str());
    EXPECT_TRUE(InstallAll().empty());
  }
  ASSERT_TRUE(testing_support::WaitForLine(log_, "Viewer start", kRunMs));
  testing_support::DeleteMachineKey(kUninstallKey + settings_.projectName, view32_);
  driver_.Reset();
  settings_.runAfterInstall = 0;
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  ASSERT_TRUE(driver_.Press(options.window, kInstall));
  DialogSeen box = driver_.WaitForDialog(kRunMs);
  while (box.window != nullptr && !StubDriver::IsMessageBox(box.window)) box = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, box.window);
  EXPECT_EQ(0u, box.text.find("This file is in use by another program:\n" + Install() + "\\VandrelViewer.exe\n\n"))
      << box.text;
  ASSERT_TRUE(driver_.Press(box.window, IDCANCEL));
  EXPECT_TRUE(driver_.AnswerAllUntilExit(kRunMs).empty());
  EXPECT_EQ(2u, driver_.ExitCode());
  EXPECT_FALSE(HasUninstallKey());
  EXPECT_FALSE(testing_support::WaitForLine(log_, "Viewer end", 0));
}

// Waiting helps only where another program holds the file. An earlier copy
// whose permissions deny writing, and a list entry naming the engine the
// installation has itself loaded, fail at once with the copy message and
// the system's reason: no quiet tries, no Retry box that can never succeed.
TEST_F(UnwritableTargetTest, DeniedByPermissionsOrHeldByTheInstaller_CopyMessageAtOnceNoRetry) {
  std::vector<DialogSeen> first = InstallAll();
  ASSERT_FALSE(first.empty());
  ASSERT_EQ(kDone, first.back().text);
  driver_.Reset();
  stub_ = testing_support::FaultStubPath(testing_support::MachineUnderTest());
  {
    ScopedEnvironment deny("VDL_FAULT_DENY", "\\scenes\\Quay.vdl");
    std::vector<DialogSeen> boxes = InstallAll();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(0u, boxes[0].text.find(AsShown(CopyErrorFor(Install() + "\\scenes\\Quay.vdl", ERROR_ACCESS_DENIED))))
        << boxes[0].text;
    EXPECT_EQ(1u, driver_.ExitCode());
    driver_.Reset();
  }
  stub_.clear();
  alterProject_ = [](packager::PayloadBuilder& project) {
    testing_support::AddProjectFiles(project, {{"Tessaron.dll", packager::EngineEncode(packager::Bytes{'e'})}});
  };
  testing_support::RemoveTree(Install());
  std::vector<DialogSeen> boxes = InstallAll();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(0u, boxes[0].text.find(std::string(kCopyError) + "\n" + Install() + "\\Tessaron.dll\n\n")) << boxes[0].text;
  EXPECT_EQ(1u, driver_.ExitCode());
}

// An installation that cannot be uninstalled is no success: an uninstaller or
// an uninstall record that cannot be written (a folder holds its name; Wine
// running as root writes read-only files all the same), and no saver channel
// to write the record with, are each reported with the file, and the success
// message is not shown.
void UninstallerOrRecordThatCannotBeWritten(UnwritableTargetTest& test, Arch arch, DWORD timeoutMs) {
  const std::string install = test.Install();
  struct Case {
    const char* blocked;
    const char* refuse;
    std::string expected;
  };
  const std::string noRecord = "The installation cannot be uninstalled: this file could not be written.\n";
  const Case cases[] = {
      {"VDLUnInst.exe", "", AsShown(CopyErrorFor(install + "\\VDLUnInst.exe", ERROR_ACCESS_DENIED))},
      {"uninstall.nfo", "", noRecord + install + "\\uninstall.nfo\n\n"},
      {nullptr, "saver", noRecord + install + "\\uninstall.nfo"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    testing_support::RemoveTree(install);
    test.driver_.Reset();
    if (c.blocked != nullptr) {
      ASSERT_EQ(0, SHCreateDirectoryExA(nullptr, (install + "\\" + c.blocked).c_str(), nullptr));
    }
    ScopedEnvironment refuse("VDL_ENGINE_REFUSE", c.refuse);
    std::vector<DialogSeen> boxes = test.InstallAll(arch, timeoutMs);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(0u, boxes[0].text.find(c.expected)) << boxes[0].text;
    EXPECT_EQ("Installation Error", boxes[0].caption);
    EXPECT_FALSE(test.HasUninstallKey());
  }
}

using UnwritableTargetTestOnEachMachine = testing_support::OnEachMachine<UnwritableTargetTest>;

TEST_P(UnwritableTargetTestOnEachMachine, UninstallerOrRecordThatCannotBeWritten_ReportedNoSuccess) {
  UninstallerOrRecordThatCannotBeWritten(*this, GetParam().arch, GetParam().timeoutMs);
}

INSTANTIATE_TEST_SUITE_P(Machines, UnwritableTargetTestOnEachMachine, ::testing::ValuesIn(testing_support::kMachines),
                         testing_support::MachineName);

}  // namespace
