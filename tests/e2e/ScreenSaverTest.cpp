// Screen-saver installations: the real stub under Wine, its module copied
// into the system folder, its configuration and uninstall record.
#include <gtest/gtest.h>

#include "standins/chunks/ChunkFile.h"
#include "tests/e2e/StandaloneFixture.h"
#include "tests/support/Machines.h"

using namespace standalone_e2e;
using testing_support::FileExists;
using testing_support::Int;
using testing_support::Str;

namespace {

class ScreenSaverTest : public StandaloneTest {
 public:
  ScreenSaverTest() {
    settings_.projectType = 5;
    settings_.doQuitCgr = 1;
    settings_.doSmallPreview = 0;
  }

  // Each chunk of a record file as "tag|declared size|data".
  std::vector<std::string> Entries(const std::string& name) const {
    std::vector<std::string> entries;
    for (const chunks::Chunk& chunk : Record(name)) {
      entries.push_back(chunk.tag + "|" + std::to_string(chunk.declaredSize) + "|" + Str(chunk.data));
    }
    return entries;
  }

  std::string Scr() const { return testing_support::SystemFolder(view32_) + "\\" + settings_.projectName + ".scr"; }
  // The same file as the stub names it: a 32-bit stub's system32 is redirected.
  std::string ScrAsNamed() const { return testing_support::SystemFolder() + "\\" + settings_.projectName + ".scr"; }

  void ExpectInstalled() {
    std::string install = Install();
    EXPECT_EQ(testing_support::kScreenSaverModule, testing_support::ReadFileBytes(Scr()));
    EXPECT_EQ((std::vector<std::string>{"SCFP|259|" + Field(install + "\\VDLStart.vdl"), "SCTI|4|" + Int(20),
                                        "SCQC|1|" + std::string(1, '\1'), "SCSP|1|" + std::string(1, '\0')}),
              Entries("screensaver.cfg"));
    std::vector<std::string> files;
    for (const std::string& entry : Entries("uninstall.nfo")) {
      if (entry.compare(0, 5, "UNFN|") == 0) files.push_back(Text(std::vector<uint8_t>(entry.begin() + 9, entry.end())));
    }
    ASSERT_EQ(19u, files.size());
    EXPECT_EQ(install + "\\Tessaron.dll", files[0]);
    EXPECT_EQ(install + "\\VDLStart.vdl", files[8]);
    EXPECT_EQ(install + "\\VDLUnInst.exe", files[9]);
    EXPECT_EQ(install + "\\VDLSvr.scr", files[10]);
    EXPECT_EQ(ScrAsNamed(), files[11]);
    EXPECT_EQ(install + "\\\\channels\\Harbour.vch", files[12]);
    EXPECT_EQ(install + "\\music/Tide.cgr", files[16]);
    EXPECT_EQ(install + "\\screensaver.cfg", files[18]);
    EXPECT_EQ(install + "\\uninstall.lst", files[17]);
    EXPECT_EQ("UNSK|0|", Entries("uninstall.nfo").back());
    EXPECT_EQ(install, testing_support::MachineString(kViewerKey + settings_.projectName, "DisplayName", view32_));
    EXPECT_EQ("\"" + install + "\\VDLUnInst.exe\"",
              testing_support::MachineString(kUninstallKey + settings_.projectName, "UninstallString", view32_));
  }
};

using ScreenSaverTestOnEachMachine = testing_support::OnEachMachine<ScreenSaverTest>;

TEST_P(ScreenSaverTestOnEachMachine, FullInstallation_InPlaceThenUndoneByTheUninstaller) {
  std::vector<DialogSeen> boxes = InstallAll(GetParam().arch, GetParam().timeoutMs);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Installation successfully completed!", boxes[0].text);
  EXPECT_EQ(settings_.projectName, boxes[0].caption);
  ExpectInstalled();

  StubDriver uninstaller;
  ASSERT_TRUE(uninstaller.Start(Install() + "\\VDLUnInst.exe"));
  ASSERT_TRUE(testing_support::WaitForLine(log_, "Uninstall done", GetParam().timeoutMs));
  EXPECT_FALSE(FileExists(Scr()));
  EXPECT_FALSE(FileExists(dir_.File("Apps")));
  EXPECT_FALSE(testing_support::MachineKeyExists(kViewerKey + settings_.projectName, view32_));
  EXPECT_FALSE(testing_support::MachineKeyExists(kUninstallKey + settings_.projectName, view32_));
}

INSTANTIATE_TEST_SUITE_P(Machines, ScreenSaverTestOnEachMachine, ::testing::ValuesIn(testing_support::kMachines),
                         testing_support::MachineName);

TEST_F(ScreenSaverTest, ExistingScreenSaver_Replaced) {
  testing_support::WriteFileBytes(Scr(), "an older screen saver", 21);
  InstallAll();
  EXPECT_EQ(testing_support::kScreenSaverModule, testing_support::ReadFileBytes(Scr()));
}

// A saver that never reaches the system folder is no installation: its two
// boxes, and neither a success nor a record or registry key after them.
TEST_F(ScreenSaverTest, NameThatIsNoFileName_TwoMessagesNoSuccess) {
  settings_.projectName = "Harbour|" + menu_;
  std::vector<DialogSeen> boxes = InstallAll();
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ(std::to_string(ERROR_INVALID_NAME), boxes[0].text);
  EXPECT_EQ(ScrAsNamed(), boxes[0].caption);
  EXPECT_EQ("Unable to copy screensaver to system directory", boxes[1].text);
  EXPECT_EQ(ScrAsNamed(), boxes[1].caption);
  EXPECT_FALSE(FileExists(Install() + "\\uninstall.nfo"));
  EXPECT_FALSE(testing_support::MachineKeyExists(kUninstallKey + settings_.projectName, view32_));
}

TEST_F(ScreenSaverTest, DirectXMissing_WarnsOnceAndInstalls) {
  testing_support::ScopedDllOverride noDirectDraw("setup.exe", "ddraw");
  settings_.checkDx8 = 1;
  std::vector<DialogSeen> boxes = InstallAfterWarning(
      "DirectX 8.1 or higher was not detected on this system\n\r"
      "DirectX 8.1 or higher needs to be installed before the screen saver will work.");
  ASSERT_EQ(1u, boxes.size());
  EXPECT_TRUE(FileExists(Scr()));
}

TEST_F(ScreenSaverTest, RunAfterInstallMissing_StopsBeforeTheDialog) {
  settings_.withRunAfterInstall = false;
  DialogSeen box = Start();
  ASSERT_NE(nullptr, box.window);
  EXPECT_EQ("Can't find project type RunAfterInstall", box.text);
  EXPECT_TRUE(driver_.Press(box.window, IDOK));
  EXPECT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_FALSE(FileExists(dir_.File("Apps")));
}

// Without its record the installation cannot be uninstalled: reported, and
// no success.
TEST_F(ScreenSaverTest, NoSaverChannel_ReportedNoSuccess) {
  ScopedEnvironment refuse("VDL_ENGINE_REFUSE", "saver");
  std::vector<DialogSeen> boxes = InstallAll();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("The installation cannot be uninstalled: this file could not be written.\n" + Install() + "\\uninstall.nfo",
            boxes[0].text);
  EXPECT_FALSE(FileExists(Install() + "\\screensaver.cfg"));
  EXPECT_FALSE(FileExists(Install() + "\\uninstall.nfo"));
}

TEST_F(ScreenSaverTest, CheckDx8ZeroWithoutDirectX_NoWarning) {
  testing_support::ScopedDllOverride noDirectDraw("setup.exe", "ddraw");
  std::vector<DialogSeen> boxes = InstallAll();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Installation successfully completed!", boxes[0].text);
}

// A name too long for the system folder (and for a registry key): the copy's
// boxes end it before any key is tried.
TEST_F(ScreenSaverTest, NameTooLongForTheSystemFolder_CopyReportedNoKeys) {
  settings_.projectName = std::string(258, 'S');
  std::vector<DialogSeen> boxes = InstallAll();
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ(std::to_string(ERROR_FILENAME_EXCED_RANGE), boxes[0].text);
  EXPECT_EQ("Unable to copy screensaver to system directory", boxes[1].text);
}

}  // namespace
