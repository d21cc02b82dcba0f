// Installing over an earlier installation, and installations that fail half
// way: the uninstall record keeps what every run made, the earlier folder is
// offered again, and a failed run leaves nothing of its own behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/StandaloneFixture.h"
#include "tests/support/FileHolder.h"

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

  void AppendToList(const std::string& lines) {
    std::string list = testing_support::ReadFileBytes(Chosen() + "\\uninstall.lst") + lines;
    ASSERT_TRUE(testing_support::WriteFileBytes(Chosen() + "\\uninstall.lst", list.data(), list.size()));
  }
};

bool Names(const std::vector<std::string>& entries, const std::string& path) {
  return std::any_of(entries.begin(), entries.end(),
                     [&](const std::string& entry) { return lstrcmpiA(entry.c_str(), path.c_str()) == 0; });
}

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

// The list beside the record can be edited by anyone who can write the
// installation folder, and the uninstaller, often run as an administrator,
// removes what the record names: lines naming a system file, places outside
// the installation and a way out of it through ".." reach no new record;
// every entry of the earlier installation's own does.
TEST_F(UpgradeTest, ListNamingPlacesOutside_NewRecordNamesOnlyTheInstallationsOwn) {
  settings_.installPath = Chosen();
  const packager::Bytes text = {'t', 'o', 'u', 'r'};
  Version({{"extras\\notes\\readme.cgr", text}});
  ASSERT_EQ(0u, RunSilently("/S /D=" + Chosen()));
  std::vector<std::string> files = Recorded("UNFN"), folders = Recorded("UNDN");
  ASSERT_FALSE(files.empty());
  char windows[MAX_PATH];
  ASSERT_NE(0u, GetWindowsDirectoryA(windows, MAX_PATH));
  std::string winIni = std::string(windows) + "\\win.ini";
  // The system's own file, made where the test prefix lacks it.
  if (!FileExists(winIni)) ASSERT_TRUE(testing_support::WriteFileBytes(winIni, "[windows]\r\n", 11));
  std::string outside = dir_.File("Outside");
  ASSERT_TRUE(CreateDirectoryA(outside.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((outside + "\\folder").c_str(), nullptr));
  ASSERT_TRUE(testing_support::WriteFileBytes(outside + "\\keep.txt", "keep", 4));
  AppendToList("F " + winIni + "\r\nF " + outside + "\\keep.txt\r\nD " + outside + "\\folder\\\r\nF " + Chosen() +
               "\\..\\..\\Outside\\keep.txt\r\nD " + Chosen() + "\\..\\..\\Outside\\\r\n");
  Version({{"more\\new.cgr", text}});
  ASSERT_EQ(0u, RunSilently("/S /D=" + Chosen()));
  std::vector<std::string> newFiles = Recorded("UNFN"), newFolders = Recorded("UNDN");
  for (const std::string& entry : files) EXPECT_TRUE(Names(newFiles, entry)) << entry;
  for (const std::string& entry : folders) EXPECT_TRUE(Names(newFolders, entry)) << entry;
  EXPECT_TRUE(Names(newFiles, Chosen() + "\\more\\new.cgr"));
  for (const std::vector<std::string>* entries : {&newFiles, &newFolders}) {
    for (const std::string& entry : *entries) {
      EXPECT_EQ(std::string::npos, entry.find("Outside")) << entry;
      EXPECT_NE(0, lstrcmpiA(entry.c_str(), winIni.c_str()));
    }
  }
  EXPECT_TRUE(Logged("Passed over: " + winIni));
  Uninstall(Chosen());
  EXPECT_TRUE(FileExists(winIni));
  EXPECT_TRUE(FileExists(outside + "\\keep.txt"));
  EXPECT_TRUE(FileExists(outside + "\\folder"));
  EXPECT_FALSE(FileExists(dir_.File("Chosen")));
}

// One file is one entry however the list spells it, and two files are two:
// an earlier line with '/' and a doubled '\\' is the file this run names
// with '\\'; a folder named twice is named once.
TEST_F(UpgradeTest, EarlierEntriesSpelledOtherwise_OneEntryEach) {
  settings_.installPath = Chosen();
  const packager::Bytes text = {'o', 'n', 'e'};
  Version({{"sub\\one.cgr", text}});
  ASSERT_EQ(0u, RunSilently("/S /D=" + Chosen()));
  std::string spelled = Chosen() + "/sub\\\\one.cgr";
  AppendToList("F " + spelled + "\r\nD " + Chosen() + "/sub/\r\nD " + Chosen() + "\\SUB\\\r\n");
  ASSERT_EQ(0u, RunSilently("/S /D=" + Chosen()));
  std::vector<std::string> files = Recorded("UNFN"), folders = Recorded("UNDN");
  EXPECT_EQ(1, std::count_if(files.begin(), files.end(), [](const std::string& entry) {
              return entry.find("one.cgr") != std::string::npos;
            }));
  EXPECT_EQ(1, std::count_if(folders.begin(), folders.end(), [](const std::string& entry) {
              std::string lower = entry;
              for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
              return lower.find("sub") != std::string::npos;
            }));
}

// A run over an earlier installation that fails once the earlier entries
// are merged (Cancel when the list is held by another program) removes none
// of the earlier runs' folders, not even one the user has emptied.
TEST_F(UpgradeTest, FailingAfterTheMerge_EarlierFoldersStay) {
  settings_.installPath = Chosen();
  const packager::Bytes text = {'t', 'o', 'u', 'r'};
  Version({{"extras\\notes\\readme.cgr", text}});
  InstallInto(Chosen());
  ASSERT_TRUE(DeleteFileA((Chosen() + "\\extras\\notes\\readme.cgr").c_str()));
  Version({{"more\\new.cgr", text}});
  {
    testing_support::FileHolder hold(Chosen() + "\\uninstall.lst", testing_support::FileHolder::kOpen, 3 * kRunMs);
    ASSERT_TRUE(hold.Holding());
    DialogSeen options = Start();
    ASSERT_NE(nullptr, options.window);
    SendMessageA(GetDlgItem(options.window, kPathEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Chosen().c_str()));
    ASSERT_TRUE(driver_.Press(options.window, kInstall));
    DialogSeen held = driver_.WaitForDialog(kRunMs);
    while (held.window != nullptr && !StubDriver::IsMessageBox(held.window)) held = driver_.WaitForDialog(kRunMs);
    ASSERT_NE(nullptr, held.window);
    EXPECT_EQ(0u, held.text.find("This file is in use by another program:\n" + Chosen() + "\\uninstall.lst")) << held.text;
    ASSERT_TRUE(driver_.Press(held.window, IDCANCEL));
    ASSERT_TRUE(driver_.WaitForExit(kRunMs));
    EXPECT_EQ(2u, driver_.ExitCode());
    driver_.Reset();
  }
  EXPECT_TRUE(FileExists(Chosen() + "\\extras\\notes"));
  EXPECT_FALSE(FileExists(Chosen() + "\\more"));
  Uninstall(Chosen());
  EXPECT_FALSE(FileExists(dir_.File("Chosen")));
}

}  // namespace
