// Standalone installations: the real stub under Wine on Xvfb, every dialog
// driven from outside, and the installation undone by the stand-in
// uninstaller.
#include <gtest/gtest.h>

#include <algorithm>

#include "standins/chunks/ChunkFile.h"
#include "tests/support/Installers.h"
#include "tests/support/Projects.h"
#include "tests/support/Screenshot.h"
#include "tests/support/StubDriver.h"
#include "tests/support/SystemState.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestInstaller.h"

using testing_support::Arch;
using testing_support::DialogSeen;
using testing_support::FileExists;
using testing_support::ScopedEnvironment;
using testing_support::StandaloneSettings;
using testing_support::StubDriver;

namespace {

constexpr DWORD kRunMs = 60000;
constexpr DWORD kRunMsI686 = 600000;
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vandrel";
constexpr char kDone[] =
    "Installation successfully completed!\r\nYou are able to find the installed program in the Start menu.";
enum { kInstall = 1, kPathEdit = 1000, kBrowse = 1001, kCancel = 1002 };

std::string Field(const std::string& text) {
  std::string field = text.substr(0, 259);
  field.resize(259, '\0');
  return field;
}

std::string Text(const std::vector<uint8_t>& data) {
  std::string text(data.begin(), data.end());
  return text.substr(0, text.find('\0'));
}

class StandaloneTest : public ::testing::Test {
 public:
  StandaloneTest()
      : log_(dir_.File("calls.log")),
        engineLog_("VDL_ENGINE_LOG", log_.c_str()),
        viewerLog_("VDL_VIEWER_LOG", log_.c_str()),
        uninstallLog_("VDL_UNINSTALL_LOG", log_.c_str()) {
    static int sequence = 0;
    menu_ = "VdlTest" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++sequence);
    settings_.installPath = dir_.File("Apps\\Vandrel Tours\\Harbour");
    settings_.shortcutName = "\\" + menu_ + "\\Tour";
    settings_.projectName = "Harbour " + menu_;
  }

  ~StandaloneTest() override {
    testing_support::RemoveTree(testing_support::ProgramsFolder() + "\\" + menu_);
    testing_support::DeleteMachineKey(kUninstallKey + settings_.projectName);
  }

  // Writes the installer and starts it; the options dialog is up on return.
  DialogSeen Start(Arch arch = Arch::kX64, DWORD timeoutMs = kRunMs) {
    std::string stub = arch == Arch::kX64 ? testing_support::StubPath() : testing_support::StubPathI686();
    EXPECT_TRUE(testing_support::WriteInstaller(dir_.File("setup.exe"),
                                                stub, testing_support::StandaloneProject(arch, settings_)));
    EXPECT_TRUE(driver_.Start(dir_.File("setup.exe")));
    return driver_.WaitForDialog(timeoutMs);
  }

  // Taken a moment after a window appears, so that it is painted.
  void Shot(const std::string& name) {
    Sleep(700);
    std::string folder = VDL_ARTIFACTS;
    CreateDirectoryA(folder.c_str(), nullptr);
    testing_support::SaveScreenshot(folder + "\\" + name + ".bmp");
  }

  // Presses Install and answers every box to the end; the boxes' texts.
  std::vector<DialogSeen> InstallToEnd(HWND options, DWORD timeoutMs = kRunMs) {
    EXPECT_TRUE(driver_.Press(options, kInstall));
    std::vector<DialogSeen> boxes = driver_.AnswerAllUntilExit(timeoutMs);
    EXPECT_TRUE(driver_.WaitForExit(5000));
    EXPECT_EQ(0u, driver_.ExitCode());
    return boxes;
  }

  std::string Install() const { return settings_.installPath; }
  std::string Menu() const { return testing_support::ProgramsFolder() + "\\" + menu_; }

  testing_support::TempDir dir_;
  std::string log_;
  ScopedEnvironment engineLog_, viewerLog_, uninstallLog_;
  std::string menu_;
  StandaloneSettings settings_;
  StubDriver driver_;
};

void ExpectRecord(const std::string& install, const std::vector<std::string>& files,
                  const std::vector<std::string>& folders, const std::string& project) {
  std::vector<chunks::Chunk> record;
  ASSERT_TRUE(chunks::ReadChunkFileFromPath(install + "\\uninstall.nfo", &record));
  std::vector<std::string> tags, fileEntries, folderEntries;
  for (const chunks::Chunk& chunk : record) {
    tags.push_back(chunk.tag);
    if (chunk.tag == "UNFN") fileEntries.push_back(Text(chunk.data));
    if (chunk.tag == "UNDN") folderEntries.push_back(Text(chunk.data));
  }
  EXPECT_EQ(files, fileEntries);
  EXPECT_EQ(folders, folderEntries);
  ASSERT_FALSE(record.empty());
  EXPECT_EQ("UNPN", record.back().tag);
  EXPECT_EQ(Field(project), std::string(record.back().data.begin(), record.back().data.end()));
  EXPECT_EQ(std::count(tags.begin(), tags.end(), "UNSK"), 0);
}

// The files of the installation in the order of its steps.
std::vector<std::string> InstalledFiles(const std::string& install, const std::string& menu) {
  std::vector<std::string> files = {install + "\\VandrelViewer.exe"};
  for (const char* name : {"Tessaron.dll", "channels\\SaverUnit.dll", "channels\\FolderUnit.dll",
                           "channels\\LoaderUnit.dll", "channels\\3A8F6C21-70DE-4B95-9E14-C2B7580AD3F9.dll",
                           "channels\\91D4E0B7-2C5A-4F18-B63E-7A05CF92E14D.dll",
                           "channels\\E62B9F03-58C1-47AD-8D70-1F4E6A3BC295.dll",
                           "channels\\4F70A3D8-B916-4E2C-A5FB-09D3E7C6118B.dll", "VDLStart.vdl"}) {
    files.push_back(install + "\\" + name);
  }
  files.push_back(menu + "\\Tour.lnk");
  files.push_back(menu + "\\Tour Uninstall.lnk");
  files.push_back(install + "\\VDLUnInst.exe");
  for (const char* name : {"\\channels\\Harbour.vch", "channels\\Sound.dll", "scenes\\Quay.vdl", "Intro.vdl",
                           "music/Tide.cgr"}) {
    files.push_back(install + "\\" + name);
  }
  return files;
}

void FullInstallation(StandaloneTest& test, Arch arch, DWORD timeoutMs) {
  // Slow enough for the progress window to be seen.
  ScopedEnvironment slow("VDL_ENGINE_SLOW", "1000");
  std::string install = test.Install();
  DialogSeen options = test.Start(arch, timeoutMs);
  ASSERT_NE(nullptr, options.window);
  EXPECT_EQ(test.settings_.projectName + " Installation Options", options.caption);
  EXPECT_EQ(install, StubDriver::ControlText(GetDlgItem(options.window, kPathEdit)));
  test.Shot(arch == Arch::kX64 ? "options-dialog" : "options-dialog-i686");
  ASSERT_TRUE(test.driver_.Press(options.window, kInstall));
  std::vector<DialogSeen> boxes;
  for (DialogSeen seen = test.driver_.WaitForDialog(timeoutMs); seen.window != nullptr;
       seen = test.driver_.WaitForDialog(timeoutMs)) {
    if (!StubDriver::IsMessageBox(seen.window)) {
      test.Shot(arch == Arch::kX64 ? "progress-window" : "progress-window-i686");
      continue;
    }
    test.Shot(arch == Arch::kX64 ? "success-message" : "success-message-i686");
    boxes.push_back(seen);
    test.driver_.Press(seen.window, IDOK);
  }
  ASSERT_TRUE(test.driver_.WaitForExit(5000));
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(kDone, boxes[0].text);
  EXPECT_EQ(test.settings_.projectName, boxes[0].caption);

  std::string menu = test.Menu();
  std::string root = test.dir_.File("Apps");
  ExpectRecord(install, InstalledFiles(install, menu),
               {install + "\\music\\", install + "\\scenes\\", menu + "\\", install + "\\channels\\", install + "\\",
                root + "\\Vandrel Tours\\", root + "\\"},
               test.settings_.projectName);
}

void ExpectLinks(const std::string& install, const std::string& menu) {
  testing_support::LinkFacts project = testing_support::ReadShellLink(menu + "\\Tour.lnk");
  ASSERT_TRUE(project.read);
  EXPECT_EQ(install + "\\VandrelViewer.exe", project.target);
  EXPECT_EQ("VDLStart.vdl", project.arguments);
  EXPECT_EQ(install, project.workingFolder);
  EXPECT_EQ("Vandrel Project Link", project.description);
  EXPECT_EQ("", project.iconLocation);
  testing_support::LinkFacts uninstall = testing_support::ReadShellLink(menu + "\\Tour Uninstall.lnk");
  ASSERT_TRUE(uninstall.read);
  EXPECT_EQ(install + "\\VDLUnInst.exe", uninstall.target);
  EXPECT_EQ("", uninstall.arguments);
  EXPECT_EQ(install, uninstall.workingFolder);
  EXPECT_EQ("Vandrel Uninstall Link", uninstall.description);
}

// Runs the installed uninstaller as the uninstall entry names it.
void Uninstall(const std::string& install) {
  StubDriver uninstaller;
  ASSERT_TRUE(uninstaller.Start(install + "\\VDLUnInst.exe"));
  ASSERT_TRUE(uninstaller.WaitForExit(kRunMs));
}

TEST_F(StandaloneTest, FullInstallation_EverythingInPlaceAndUndoneByTheUninstaller) {
  FullInstallation(*this, Arch::kX64, kRunMs);
  ExpectLinks(Install(), Menu());
  std::string key = kUninstallKey + settings_.projectName;
  EXPECT_EQ(settings_.projectName, testing_support::MachineString(key, "DisplayName"));
  EXPECT_EQ("\"" + Install() + "\\VDLUnInst.exe\"", testing_support::MachineString(key, "UninstallString"));

  Uninstall(Install());
  ASSERT_TRUE(testing_support::WaitForLine(log_, "Uninstall done", kRunMs));
  EXPECT_FALSE(FileExists(dir_.File("Apps")));
  EXPECT_FALSE(FileExists(Menu()));
  EXPECT_FALSE(testing_support::MachineKeyExists(key));
}

TEST_F(StandaloneTest, I686_FullInstallation_EverythingInPlace) {
  FullInstallation(*this, Arch::kI686, kRunMsI686);
  ExpectLinks(Install(), Menu());
  EXPECT_EQ("\"" + Install() + "\\VDLUnInst.exe\"",
            testing_support::MachineString(kUninstallKey + settings_.projectName, "UninstallString"));
}

TEST_F(StandaloneTest, ShortcutNameWithSlashes_FoldersWithBackslashesLinksAsGiven) {
  settings_.shortcutName = "/" + menu_ + "/Sub/Tour";
  CreateDirectoryA(dir_.File("Apps").c_str(), nullptr);
  CreateDirectoryA(dir_.File("Apps\\Vandrel Tours").c_str(), nullptr);
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  InstallToEnd(options.window);
  std::string programs = testing_support::ProgramsFolder();
  std::vector<chunks::Chunk> record;
  ASSERT_TRUE(chunks::ReadChunkFileFromPath(Install() + "\\uninstall.nfo", &record));
  std::vector<std::string> entries;
  for (const chunks::Chunk& chunk : record) entries.push_back(chunk.tag + " " + Text(chunk.data));
  auto has = [&](const std::string& entry) { return std::find(entries.begin(), entries.end(), entry) != entries.end(); };
  EXPECT_TRUE(has("UNFN " + programs + "/" + menu_ + "/Sub/Tour.lnk"));
  EXPECT_TRUE(has("UNFN " + programs + "/" + menu_ + "/Sub/Tour Uninstall.lnk"));
  EXPECT_TRUE(has("UNDN " + programs + "\\" + menu_ + "\\Sub\\"));
  EXPECT_TRUE(has("UNDN " + programs + "\\" + menu_ + "\\"));
  EXPECT_TRUE(FileExists(Menu() + "\\Sub\\Tour.lnk"));
  EXPECT_FALSE(has("UNDN " + dir_.File("Apps") + "\\"));
}

TEST_F(StandaloneTest, ShortcutFoldersThatExist_NotRecorded) {
  CreateDirectoryA(Menu().c_str(), nullptr);
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  InstallToEnd(options.window);
  std::vector<chunks::Chunk> record;
  ASSERT_TRUE(chunks::ReadChunkFileFromPath(Install() + "\\uninstall.nfo", &record));
  for (const chunks::Chunk& chunk : record) {
    if (chunk.tag == "UNDN") {
      EXPECT_EQ(std::string::npos, Text(chunk.data).find(menu_));
    }
  }
  EXPECT_TRUE(FileExists(Menu() + "\\Tour.lnk"));
}

}  // namespace
