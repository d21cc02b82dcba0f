// A disk without the room an installation needs, found before anything is
// written: the user is told what is needed and what is free and may make
// room or choose another folder; silent, the run fails with the reason in
// the log. The payload asks for 4 TiB, which no test machine's volume has.
#include <windows.h>

#include "tests/e2e/StandaloneFixture.h"
#include "tests/support/TempDir.h"

namespace standalone_e2e {
namespace {

using testing_support::FileExists;

constexpr char kShort[] = "There is not enough free space on the disk of this folder:\n";
constexpr char kNeeded[] = "4194304 MB are needed and ";
constexpr char kAdvice[] =
    " MB are free. Free some space or choose another folder, then press Retry; Cancel stops the installation.";
constexpr char kAdviceRetry[] = " MB are free. Free some space, then press Retry; Cancel stops.";

// The item as vpack writes it: KiB below the folder, KiB of the module.
void NeedSpace(packager::PayloadBuilder& project, uint32_t folderKib, uint32_t moduleKib) {
  packager::Bytes bytes;
  for (uint32_t kib : {folderKib, moduleKib}) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(kib >> shift));
  }
  project.Add("APPDATA", "SpaceNeeded", bytes);
}

// What the volume of an existing folder has free, in whole MB.
uint64_t FreeMegabytes(const std::string& folder) {
  ULARGE_INTEGER available = {};
  GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr);
  return available.QuadPart >> 20;
}

class FreeSpaceTest : public StandaloneTest {
 protected:
  // The message about folder, its free megabytes within what a test run
  // may change; advice is the paragraph that ends it.
  void ExpectShortOf(const DialogSeen& box, const std::string& folder, const char* advice) {
    EXPECT_EQ("Installation Error", box.caption);
    EXPECT_EQ(static_cast<uint32_t>(MB_RETRYCANCEL | MB_ICONWARNING), box.type);
    std::string head = kShort + folder + "\n\n" + kNeeded;
    ASSERT_EQ(0u, box.text.find(head)) << box.text;
    size_t end = box.text.find(advice);
    ASSERT_NE(std::string::npos, end) << box.text;
    EXPECT_EQ(box.text.size(), end + strlen(advice)) << box.text;
    uint64_t free = std::stoull(box.text.substr(head.size(), end - head.size()));
    uint64_t own = FreeMegabytes(dir_.Path());
    EXPECT_LE(free < own ? own - free : free - own, 64u) << box.text;
  }
};

// Retry brings the options dialog back with the folder chosen, so that the
// user may pick another; Cancel there ends the run with nothing written.
TEST_F(FreeSpaceTest, StandaloneShort_ToldBeforeAnythingRetryBringsTheDialogBack) {
  alterProject_ = [](packager::PayloadBuilder& project) { NeedSpace(project, 0xFFFFFFFF, 0); };
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  ASSERT_TRUE(driver_.Press(options.window, kInstall));
  DialogSeen box = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, box.window);
  ExpectShortOf(box, Install(), kAdvice);
  EXPECT_FALSE(FileExists(Install()));
  ASSERT_TRUE(driver_.Press(box.window, IDRETRY));
  DialogSeen again = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, again.window);
  EXPECT_EQ(Install(), StubDriver::ControlText(GetDlgItem(again.window, kPathEdit)));
  ASSERT_TRUE(driver_.Press(again.window, kInstall));
  box = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, box.window);
  CancelWritingNothing(box.window);
}

// Silent, exit code 1 and the message in the log, for the installation
// folder and for the system folder a screen saver goes into.
TEST_F(FreeSpaceTest, SilentShort_CodeOneLoggedNothingWritten) {
  const struct {
    uint32_t type, folderKib, moduleKib;
  } cases[] = {{2, 0xFFFFFFFF, 0}, {5, 4, 0xFFFFFFFF}};
  for (const auto& c : cases) {
    settings_.projectType = c.type;
    alterProject_ = [c](packager::PayloadBuilder& project) { NeedSpace(project, c.folderKib, c.moduleKib); };
    std::string folder = dir_.File("Short" + std::to_string(c.type));
    EXPECT_EQ(1u, RunSilently("/S /D=" + folder)) << c.type;
    EXPECT_FALSE(FileExists(folder)) << c.type;
    // The system folder as the stub's own system names it.
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    std::string shown = c.type == 2 ? folder : system;
    std::string logged = testing_support::ReadFileBytes(setupLog_);
    EXPECT_NE(std::string::npos, logged.find("Installation Error: " + std::string(kShort, strlen(kShort) - 1) + " " +
                                             shown + "  " + kNeeded))
        << logged;
  }
}

// The working folder below the temporary one: Retry asks it again, Cancel
// ends the run (code 2) and leaves no folder behind.
TEST_F(FreeSpaceTest, RunInPlaceShort_RetryAsksAgainCancelLeavesNoFolder) {
  std::string temp = dir_.File("tmp");
  CreateDirectoryA(temp.c_str(), nullptr);
  testing_support::ScopedEnvironment tempVariable("TEMP", temp.c_str());
  testing_support::ScopedEnvironment tmpVariable("TMP", temp.c_str());
  settings_.projectType = 1;
  alterProject_ = [](packager::PayloadBuilder& project) {
    project = testing_support::RunInPlaceProject(testing_support::Arch::kX64);
    NeedSpace(project, 0xFFFFFFFF, 0);
  };
  DialogSeen box = Start();
  ASSERT_NE(nullptr, box.window);
  ExpectShortOf(box, temp + "\\Vandrel0", kAdviceRetry);
  ASSERT_TRUE(driver_.Press(box.window, IDRETRY));
  box = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, box.window);
  ExpectShortOf(box, temp + "\\Vandrel0", kAdviceRetry);
  ASSERT_TRUE(driver_.Press(box.window, IDCANCEL));
  ASSERT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_EQ(2u, driver_.ExitCode());
  EXPECT_EQ(std::set<std::string>{}, testing_support::NamesBelow(temp));
}

}  // namespace
}  // namespace standalone_e2e
