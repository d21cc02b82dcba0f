// Standalone installations: the real stub under Wine on Xvfb, every dialog
// driven from outside, and the installation undone by the stand-in
// uninstaller.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "packager/EngineFormat.h"
#include "platform/FileWrite.h"
#include "standins/chunks/ChunkFile.h"
#include "tests/e2e/StandaloneFixture.h"
#include "tests/support/ExpectedMessages.h"
#include "tests/support/Machines.h"
#include "tests/support/Payloads.h"
#include "tests/support/SeamLog.h"

using namespace standalone_e2e;
using testing_support::FileExists;

namespace {

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
  for (const char* name : testing_support::kEngineFileNames) files.push_back(install + "\\" + name);
  files.push_back(menu + "\\Tour.lnk");
  files.push_back(menu + "\\Tour Uninstall.lnk");
  files.push_back(install + "\\VDLUnInst.exe");
  for (const char* name : {"\\channels\\Harbour.vch", "channels\\Sound.dll", "scenes\\Quay.vdl", "Intro.vdl",
                           "music/Tide.cgr", "uninstall.lst"}) {
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
void Uninstall(const std::string& install, DWORD timeoutMs) {
  StubDriver uninstaller;
  ASSERT_TRUE(uninstaller.Start(install + "\\VDLUnInst.exe"));
  ASSERT_TRUE(uninstaller.WaitForExit(timeoutMs));
}

using StandaloneTestOnEachMachine = testing_support::OnEachMachine<StandaloneTest>;

TEST_P(StandaloneTestOnEachMachine, FullInstallation_EverythingInPlaceAndUndoneByTheUninstaller) {
  const testing_support::Machine& machine = GetParam();
  FullInstallation(*this, machine.arch, machine.timeoutMs);
  ExpectLinks(Install(), Menu());
  std::string key = kUninstallKey + settings_.projectName;
  EXPECT_EQ(settings_.projectName, testing_support::MachineString(key, "DisplayName", view32_));
  EXPECT_EQ("\"" + Install() + "\\VDLUnInst.exe\"", testing_support::MachineString(key, "UninstallString", view32_));

  Uninstall(Install(), machine.timeoutMs);
  ASSERT_TRUE(testing_support::WaitForLine(log_, "Uninstall done", machine.timeoutMs));
  EXPECT_FALSE(FileExists(dir_.File("Apps")));
  EXPECT_FALSE(FileExists(Menu()));
  EXPECT_FALSE(testing_support::MachineKeyExists(key, view32_));
}

TEST_F(StandaloneTest, ShortcutNameWithSlashes_FoldersWithBackslashesLinksAsGiven) {
  settings_.shortcutName = "/" + menu_ + "/Sub/Tour";
  CreateDirectoryA(dir_.File("Apps").c_str(), nullptr);
  CreateDirectoryA(dir_.File("Apps\\Vandrel Tours").c_str(), nullptr);
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  InstallToEnd(options.window);
  std::string programs = testing_support::ProgramsFolder();
  std::vector<std::string> entries;
  for (const chunks::Chunk& chunk : Record("uninstall.nfo")) entries.push_back(chunk.tag + " " + Text(chunk.data));
  auto has = [&](const std::string& entry) { return std::find(entries.begin(), entries.end(), entry) != entries.end(); };
  EXPECT_TRUE(has("UNFN " + programs + "/" + menu_ + "/Sub/Tour.lnk"));
  EXPECT_TRUE(has("UNFN " + programs + "/" + menu_ + "/Sub/Tour Uninstall.lnk"));
  EXPECT_TRUE(has("UNDN " + programs + "\\" + menu_ + "\\Sub\\"));
  EXPECT_TRUE(has("UNDN " + programs + "\\" + menu_ + "\\"));
  EXPECT_TRUE(FileExists(Menu() + "\\Sub\\Tour.lnk"));
  EXPECT_FALSE(has("UNDN " + dir_.File("Apps") + "\\"));
}

// Links that cannot be made do not stop the installation, and the success
// message then sends no one to the Start menu.
TEST_F(StandaloneTest, LinksThatCannotBeMade_InstalledWithoutThePromise) {
  // Below the Programs folder, longer than a path may be.
  settings_.shortcutName = "\\" + menu_ + "\\" + std::string(200, 't');
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  std::vector<DialogSeen> boxes = InstallToEnd(options.window);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Installation successfully completed!", boxes[0].text);
  EXPECT_TRUE(FileExists(Install() + "\\uninstall.nfo"));
  EXPECT_FALSE(FileExists(Menu()));
}

TEST_F(StandaloneTest, ShortcutFoldersThatExist_NotRecorded) {
  CreateDirectoryA(Menu().c_str(), nullptr);
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  InstallToEnd(options.window);
  std::vector<chunks::Chunk> record = Record("uninstall.nfo");
  ASSERT_FALSE(record.empty());
  for (const chunks::Chunk& chunk : record) {
    if (chunk.tag == "UNDN") {
      EXPECT_EQ(std::string::npos, Text(chunk.data).find(menu_));
    }
  }
  EXPECT_TRUE(FileExists(Menu() + "\\Tour.lnk"));
}


constexpr char kAskDirectX[] =
    "DirectX 8.1 or higher was not detected on this system\r\n"
    "Please install DirectX 8.1 or higher before running the program that is installed.\r\n"
    "Continue installation?";

TEST_F(StandaloneTest, DirectXMissing_AskedFirstNoStopsYesInstalls) {
  testing_support::ScopedDllOverride noDirectDraw("setup.exe", "ddraw");
  settings_.checkDx8 = 1;
  for (int answer : {IDNO, IDYES}) {
    driver_.Reset();
    DialogSeen question = Start();
    ASSERT_NE(nullptr, question.window);
    EXPECT_EQ(kAskDirectX, question.text);
    EXPECT_EQ("DirectX version check", question.caption);
    EXPECT_TRUE(driver_.Press(question.window, answer));
    if (answer == IDNO) {
      EXPECT_TRUE(driver_.WaitForExit(kRunMs));
      EXPECT_FALSE(FileExists(dir_.File("Apps")));
      continue;
    }
    DialogSeen options = driver_.WaitForDialog(kRunMs);
    ASSERT_NE(nullptr, options.window);
    InstallToEnd(options.window);
    EXPECT_TRUE(FileExists(Install() + "\\uninstall.nfo"));
  }
}

TEST_F(StandaloneTest, RunAfterInstall_ViewerStartsInTheFolderInsteadOfTheMessage) {
  settings_.runAfterInstall = 1;
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  EXPECT_TRUE(InstallToEnd(options.window).empty());
  ASSERT_TRUE(testing_support::WaitForLine(log_, "Viewer end", kRunMs));
  EXPECT_TRUE(testing_support::WaitForLine(log_, "Viewer folder " + Install(), 0));
  EXPECT_TRUE(testing_support::WaitForLine(log_, "Viewer command VandrelViewer.exe VDLStart.vdl", 0));
}

TEST_F(StandaloneTest, RunAfterInstallWithoutDirectX_MessageInstead) {
  testing_support::ScopedDllOverride noDirectDraw("setup.exe", "ddraw");
  settings_.runAfterInstall = 1;
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  std::vector<DialogSeen> boxes = InstallToEnd(options.window);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(kDone, boxes[0].text);
  EXPECT_FALSE(testing_support::WaitForLine(log_, "Viewer start", 2000));
}

// The links are made by the shell's link object, which saves them (seen by
// the test variant's seam), and read back by the shell as they were set;
// the copy each was saved as beside its name is gone.
TEST_F(StandaloneTest, Links_SavedByTheShellsLinkObjectReadableByTheShell) {
  stub_ = testing_support::FaultStubPath(testing_support::MachineUnderTest());
  std::string seamLog = dir_.File("seam.log");
  ScopedEnvironment seam("VDL_FAULT_LOG", seamLog.c_str());
  std::vector<DialogSeen> boxes = InstallAll();
  ASSERT_FALSE(boxes.empty());
  EXPECT_NE(std::string::npos, boxes.back().text.find("Start menu")) << boxes.back().text;
  std::vector<std::string> calls = testing_support::ReadSeamLog(seamLog).calls;
  EXPECT_EQ(1, std::count(calls.begin(), calls.end(), "SHGetSpecialFolderLocation"));
  EXPECT_EQ(2, std::count(calls.begin(), calls.end(), "CoCreateInstance"));
  EXPECT_EQ(2, std::count(calls.begin(), calls.end(), "IPersistFile::Save"));
  ExpectLinks(Install(), Menu());
  EXPECT_EQ((std::set<std::string>{"Tour.lnk", "Tour Uninstall.lnk"}), testing_support::NamesBelow(Menu()));
}

// A path as long as Windows takes (255 bytes here) installs, and installs
// again over the earlier copy: the copy beside it gets a name that fits.
TEST_F(StandaloneTest, PathOfTwoHundredFiftyFiveBytes_InstalledTwice) {
  settings_.installPath = dir_.File("Long");
  std::string folder = std::string(240 - settings_.installPath.size() - 1, 'f');
  std::string name = folder + "\\" + std::string(255 - 240 - 1, 'n');
  ASSERT_EQ(255u, (settings_.installPath + "\\" + name).size());
  for (char version : {'1', '2'}) {
    alterProject_ = [&](packager::PayloadBuilder& project) {
      testing_support::AddProjectFiles(project, {{name, packager::EngineEncode(packager::Bytes{'v', version})}});
    };
    EXPECT_EQ(0u, RunSilently("/S /D=" + Install())) << version;
    EXPECT_EQ(std::string("v") + version, testing_support::ReadFileBytes(Install() + "\\" + name));
    driver_.Reset();
  }
  EXPECT_EQ(std::set<std::string>{std::string(255 - 240 - 1, 'n')}, testing_support::NamesBelow(Install() + "\\" + folder));
}

TEST_F(StandaloneTest, SecondInstallation_OverwritesTheSameKey) {
  std::string key = kUninstallKey + settings_.projectName;
  for (const char* folder : {"First", "Second"}) {
    driver_.Reset();
    settings_.installPath = dir_.File(folder);
    DialogSeen options = Start();
    ASSERT_NE(nullptr, options.window);
    // The second is offered the first's folder; the user chooses another.
    SendMessageA(GetDlgItem(options.window, kPathEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Install().c_str()));
    InstallToEnd(options.window);
    EXPECT_EQ("\"" + dir_.File(folder) + "\\VDLUnInst.exe\"", testing_support::MachineString(key, "UninstallString", view32_));
  }
  EXPECT_EQ(settings_.projectName, testing_support::MachineString(key, "DisplayName", view32_));
}

TEST_F(StandaloneTest, DamagedInstallerOverAnEarlierInstallation_EarlierCopiesKept) {
  InstallAll();
  // The uninstaller and a file copied as stored arrive damaged the second
  // time: the uninstaller, extracted first, stops the installation.
  std::vector<packager::Bytes> damaged;
  std::vector<std::string> names;
  alterProject_ = [&](packager::PayloadBuilder& project) {
    for (const packager::Item& item : project.Items()) {
      if (item.name != "VDLUnInst.exe" && item.name.find(".cgr") == std::string::npos) continue;
      damaged.push_back(item.data);
      names.push_back(item.name);
    }
  };
  alterPayload_ = [&](packager::Bytes& payload) {
    for (const packager::Bytes& data : damaged) {
      auto at = std::search(payload.begin(), payload.end(), data.begin(), data.end());
      ASSERT_NE(payload.end(), at);
      at[data.size() - 1] ^= 0x01;
    }
  };
  driver_.Reset();
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  ASSERT_EQ(2u, names.size());
  std::sort(names.begin(), names.end());
  std::vector<packager::Bytes> earlier;
  for (const std::string& name : names) earlier.push_back(testing_support::ReadBytes(Install() + "\\" + name));
  std::vector<DialogSeen> boxes = InstallToEnd(options.window);
  std::vector<std::string> crcCaptions;
  for (const DialogSeen& box : boxes) {
    if (box.text == "Crc error corrupt file") crcCaptions.push_back(box.caption);
    EXPECT_NE(kDone, box.text);
  }
  std::sort(crcCaptions.begin(), crcCaptions.end());
  EXPECT_EQ(std::vector<std::string>{"VDLUnInst.exe"}, crcCaptions);
  // Then what failed, with the system's word for damaged data, not a hint
  // at locked files alone.
  std::string copyError = testing_support::CopyErrorFor(Install() + "\\VDLUnInst.exe", ERROR_CRC);
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(0u, boxes.back().text.find(testing_support::AsShown(copyError))) << boxes.back().text;
  for (size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_FALSE(earlier[i].empty());
    EXPECT_EQ(earlier[i], testing_support::ReadBytes(Install() + "\\" + names[i]));
    EXPECT_FALSE(FileExists(Install() + "\\" + names[i] + platform::kBesideSuffix));
  }
}

// An installation killed while it replaced files leaves each new copy it was
// writing beside the earlier one. Running the installer again removes them:
// nothing is left beside the files, and a user's own file of a name like
// theirs is kept.
void RerunAfterAKilledReinstallation(StandaloneTest& test, Arch arch, DWORD timeoutMs) {
  test.InstallAll(arch, timeoutMs);
  std::set<std::string> installed = testing_support::NamesBelow(test.Install());
  ASSERT_TRUE(installed.count("uninstall.nfo"));
  const char* const left[] = {"scenes\\Quay.vdl", "channels\\Sound.dll", "music\\Tide.cgr"};
  for (const char* name : left) {
    std::string beside = test.Install() + "\\" + name + platform::kBesideSuffix;
    ASSERT_TRUE(testing_support::WriteFileBytes(beside, "half", 4));
  }
  ASSERT_TRUE(testing_support::WriteFileBytes(test.Install() + "\\Intro.vdl~", "the user's", 10));
  test.driver_.Reset();
  std::vector<DialogSeen> boxes = test.InstallAll(arch, timeoutMs);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(kDone, boxes[0].text);
  installed.insert("Intro.vdl~");
  EXPECT_EQ(installed, testing_support::NamesBelow(test.Install()));
  EXPECT_EQ("the user's", testing_support::ReadFileBytes(test.Install() + "\\Intro.vdl~"));
}

TEST_P(StandaloneTestOnEachMachine, RerunAfterAKilledReinstallation_NothingLeftBesideTheFiles) {
  RerunAfterAKilledReinstallation(*this, GetParam().arch, GetParam().timeoutMs);
}

INSTANTIATE_TEST_SUITE_P(Machines, StandaloneTestOnEachMachine, ::testing::ValuesIn(testing_support::kMachines),
                         testing_support::MachineName);

TEST_F(StandaloneTest, UninstallKeyThatCannotBeWritten_ReportedAndInstallationCompletes) {
  // A key name longer than the registry takes.
  settings_.projectName = menu_ + std::string(300 - menu_.size(), 'k').substr(0, 258 - menu_.size());
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  std::vector<DialogSeen> boxes = InstallToEnd(options.window);
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ("Error can't write in registry", boxes[0].text);
  EXPECT_EQ(kUninstallKey + settings_.projectName, boxes[0].caption);
  EXPECT_EQ(kDone, boxes[1].text);
}

}  // namespace
