// Winamp plug-in installations: the real stub under Wine, the player found
// through the registry or chosen by the user.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <random>

#include "packager/PayloadBuilder.h"
#include "standins/chunks/ChunkFile.h"
#include "tests/e2e/StandaloneFixture.h"
#include "tests/support/Machines.h"
#include "tests/support/FileHolder.h"

using namespace standalone_e2e;
using testing_support::FileExists;

namespace {

constexpr char kWinamp2Key[] = "Applications\\Winamp.exe\\shell\\open\\command";
constexpr char kWinamp3Key[] = "Applications\\Studio.exe\\shell\\open\\command";
constexpr char kAskWinamp2[] =
    "WinAmp 2.x installation folder could not be detected by the installer. This program needs WinAmp 2.x (not "
    "WinAmp 3) to run.\nWould you like to continue and manually select your WinAmp 2.x folder?";
constexpr char kAskWinamp3[] =
    "WinAmp 3 installation folder could not be detected by the installer. This program needs WinAmp 3 (not "
    "WinAmp 2.x) to run.\nWould you like to continue and manually select your WinAmp 3 folder?";

class WinampPluginTest : public StandaloneTest {
 public:
  WinampPluginTest() : player_(dir_.File("Winamp")) {
    settings_.projectType = 6;
    CreateDirectoryA(player_.c_str(), nullptr);
    CreateDirectoryA((player_ + "\\Plugins").c_str(), nullptr);
    CreateDirectoryA((player_ + "\\Wacs").c_str(), nullptr);
    testing_support::DeleteClassesRootTree("Applications\\Winamp.exe");
    testing_support::DeleteClassesRootTree("Applications\\Studio.exe");
  }
  ~WinampPluginTest() override {
    testing_support::DeleteClassesRootTree("Applications\\Winamp.exe");
    testing_support::DeleteClassesRootTree("Applications\\Studio.exe");
  }

  void Register(const char* key, const std::string& command) {
    ASSERT_TRUE(testing_support::SetClassesRootDefault(key, command));
  }

  // Accepts the options dialog and waits past the progress window for the
  // first message box.
  DialogSeen InstallUntilQuestion() {
    DialogSeen options = Start();
    if (options.window == nullptr || !driver_.Press(options.window, kInstall)) return DialogSeen{};
    DialogSeen seen = driver_.WaitForDialog(kRunMs);
    while (seen.window != nullptr && !StubDriver::IsMessageBox(seen.window)) seen = driver_.WaitForDialog(kRunMs);
    return seen;
  }

  std::vector<std::string> RecordedFiles() {
    std::vector<std::string> files;
    for (const chunks::Chunk& chunk : Record("uninstall.nfo")) {
      if (chunk.tag == "UNFN") files.push_back(Text(chunk.data));
    }
    return files;
  }

  void ExpectWinamp2Installed() {
    std::string plugin = player_ + "\\\\Plugins\\vis_" + settings_.projectName + ".dll";
    EXPECT_EQ(testing_support::kPluginModule, testing_support::ReadFileBytes(plugin));
    std::vector<std::string> files = RecordedFiles();
    ASSERT_EQ(19u, files.size());
    EXPECT_EQ(Install() + "\\VDLUnInst.exe", files[9]);
    EXPECT_EQ(Install() + "\\WinAmp.dll", files[10]);
    EXPECT_EQ(plugin, files[11]);
    EXPECT_EQ(Install() + "\\winamp.cfg", files[18]);
    EXPECT_EQ(Install() + "\\uninstall.lst", files[17]);
    std::vector<chunks::Chunk> configuration = Record("winamp.cfg");
    ASSERT_EQ(2u, configuration.size());
    EXPECT_EQ("SCFP", configuration[0].tag);
    EXPECT_EQ(Field(Install() + "\\VDLStart.vdl"), std::string(configuration[0].data.begin(), configuration[0].data.end()));
    EXPECT_EQ("SCTI", configuration[1].tag);
    EXPECT_EQ("UNSK", Record("uninstall.nfo").back().tag);
    EXPECT_EQ(0u, Record("uninstall.nfo").back().data.size());
    EXPECT_EQ(Install(), testing_support::MachineString(kViewerKey + settings_.projectName, "DisplayName", view32_));
  }

  std::string player_;
};

using WinampPluginTestOnEachMachine = testing_support::OnEachMachine<WinampPluginTest>;

TEST_P(WinampPluginTestOnEachMachine, Winamp2Registered_PluginBesideTheOthersWithDoubledBackslash) {
  Register(kWinamp2Key, "\"" + player_ + "\\winamp.exe\" \"%1\"");
  std::vector<DialogSeen> boxes = InstallAll(GetParam().arch, GetParam().timeoutMs);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Installation successfully completed!", boxes[0].text);
  EXPECT_EQ(settings_.projectName, boxes[0].caption);
  ExpectWinamp2Installed();
}

// The player runs with the earlier plug-in loaded. The installer waits a few
// seconds, then names the file: Cancel keeps the earlier plug-in whole and
// ends as cancelled; Retry once the player has let go installs the new one.
TEST_F(WinampPluginTest, PluginHeldByTheRunningPlayer_CancelKeepsItRetryReplacesIt) {
  Register(kWinamp2Key, "\"" + player_ + "\\winamp.exe\" \"%1\"");
  std::string plugin = player_ + "\\Plugins\\vis_" + settings_.projectName + ".dll";
  // A program image of the player's machine, for the player to map.
  std::string earlier = testing_support::ReadFileBytes(testing_support::StandInEnginePath(Arch::kX64));
  ASSERT_TRUE(testing_support::WriteFileBytes(plugin, earlier.data(), earlier.size()));
  for (bool retry : {false, true}) {
    SCOPED_TRACE(retry ? "Retry" : "Cancel");
    driver_.Reset();
    testing_support::FileHolder player(plugin, testing_support::FileHolder::kImage, 120000);
    ASSERT_TRUE(player.Holding());
    DialogSeen box = InstallUntilQuestion();
    ASSERT_NE(nullptr, box.window);
    EXPECT_EQ(0u, box.text.find("This file is in use by another program:\n" + player_ + "\\\\Plugins")) << box.text;
    EXPECT_EQ("Installation Error", box.caption);
    EXPECT_EQ(earlier, testing_support::ReadFileBytes(plugin));
    if (!retry) {
      ASSERT_TRUE(driver_.Press(box.window, IDCANCEL));
      EXPECT_TRUE(driver_.AnswerAllUntilExit(kRunMs).empty());
      EXPECT_EQ(2u, driver_.ExitCode());
      EXPECT_EQ(earlier, testing_support::ReadFileBytes(plugin));
      EXPECT_FALSE(FileExists(Install() + "\\uninstall.nfo"));
      continue;
    }
    player.Release();
    ASSERT_TRUE(driver_.Press(box.window, IDRETRY));
    std::vector<DialogSeen> boxes = driver_.AnswerAllUntilExit(kRunMs);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Installation successfully completed!", boxes[0].text);
    EXPECT_EQ(0u, driver_.ExitCode());
    ExpectWinamp2Installed();
  }
}

TEST_F(WinampPluginTest, Winamp3Registered_ComponentInWacs) {
  settings_.winampVersion = 1;
  Register(kWinamp3Key, "\"" + player_ + "\\Studio.exe\" \"%1\"");
  InstallAll();
  std::string component = player_ + "\\\\Wacs\\" + settings_.projectName + ".wac";
  EXPECT_EQ(testing_support::kPluginModule, testing_support::ReadFileBytes(component));
  std::vector<std::string> files = RecordedFiles();
  ASSERT_EQ(19u, files.size());
  EXPECT_EQ(component, files[11]);
}

// No folder in the command: the plug-in would go to "\Plugins" of whatever
// drive is current, which the player never reads; the copy is refused there
// and the installation is not called a success.
TEST_F(WinampPluginTest, CommandWithoutBackslash_NoPlayerFolderReportedNoSuccess) {
  Register(kWinamp2Key, "\"winamp.exe\" \"%1\"");
  std::vector<DialogSeen> boxes = InstallAll();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(0u, boxes[0].text.find("Unable to copy the plug-in into WinAmp.\n\n")) << boxes[0].text;
  EXPECT_FALSE(FileExists(Install() + "\\uninstall.nfo"));
}

TEST_F(WinampPluginTest, NotRegisteredAnsweredNo_EndsWithoutRecord) {
  settings_.winampVersion = 1;
  DialogSeen question = InstallUntilQuestion();
  ASSERT_NE(nullptr, question.window);
  EXPECT_EQ(kAskWinamp3, question.text);
  EXPECT_EQ(settings_.projectName, question.caption);
  EXPECT_TRUE(driver_.Press(question.window, IDNO));
  EXPECT_TRUE(driver_.WaitForExit(kRunMs));
  // What the run wrote before it asked is taken away again.
  EXPECT_FALSE(FileExists(Install()));
}

TEST_F(WinampPluginTest, NotRegisteredAnsweredYes_ChosenFolderUsed) {
  DialogSeen question = InstallUntilQuestion();
  ASSERT_NE(nullptr, question.window);
  EXPECT_EQ(kAskWinamp2, question.text);
  EXPECT_TRUE(driver_.Press(question.window, IDYES));
  DialogSeen browser = driver_.WaitForFolderBrowser(kRunMs);
  ASSERT_NE(nullptr, browser.window);
  // The browser says which folder it asks for: the player's, not the
  // installation's.
  EXPECT_EQ("Select Main WinAmp Install Folder", StubDriver::ControlText(GetDlgItem(browser.window, 0x3742)));
  // The browser opens on the desktop (Wine's has no edit box to type into);
  // taking it chooses the desktop folder, which is then the player folder.
  char desktop[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
  std::string plugins = std::string(desktop) + "\\Plugins";
  CreateDirectoryA(plugins.c_str(), nullptr);
  EXPECT_TRUE(driver_.PressUntilGone(browser.window, IDOK));
  std::vector<DialogSeen> boxes = driver_.AnswerAllUntilExit(kRunMs);
  ASSERT_EQ(1u, boxes.size());
  std::string plugin = plugins + "\\vis_" + settings_.projectName + ".dll";
  EXPECT_EQ(testing_support::kPluginModule, testing_support::ReadFileBytes(plugin));
  std::vector<std::string> files = RecordedFiles();
  ASSERT_EQ(19u, files.size());
  EXPECT_EQ(plugin, files[11]);
  DeleteFileA(plugin.c_str());
  RemoveDirectoryA(plugins.c_str());
}

// A plug-in the player never sees is no installation: the copy's failure is
// told, and neither a success nor an uninstall record follows.
TEST_F(WinampPluginTest, PluginThatCannotBeCopied_ReportedNoSuccess) {
  Register(kWinamp2Key, "\"" + player_ + "\\winamp.exe\" \"%1\"");
  // A folder where the plug-in should go: no copy can replace it (a
  // read-only file would not do, as Wine running as root writes it anyway).
  std::string plugin = player_ + "\\Plugins\\vis_" + settings_.projectName + ".dll";
  CreateDirectoryA(plugin.c_str(), nullptr);
  std::vector<DialogSeen> boxes = InstallAll();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(0u, boxes[0].text.find("Unable to copy the plug-in into WinAmp.\n\n")) << boxes[0].text;
  EXPECT_EQ("Error", boxes[0].caption);
  EXPECT_FALSE(FileExists(Install() + "\\uninstall.nfo"));
  EXPECT_NE(0u, GetFileAttributesA(plugin.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  RemoveDirectoryA(plugin.c_str());
}

// A disk that fills up while the new plug-in is written over an earlier one:
// the earlier plug-in stays whole, as every earlier file of an installation
// does, and nothing is left beside it. The drive R: of one MiB comes from the
// test fixture drives.mount.
void DiskFullWhileReplacingThePlugin(WinampPluginTest& test, Arch arch, DWORD timeoutMs) {
  if (GetFileAttributesA("R:\\") == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no 1 MiB drive R:";
  std::string player = "R:\\" + test.menu_;
  std::string plugins = player + "\\Plugins";
  ASSERT_EQ(0, SHCreateDirectoryExA(nullptr, plugins.c_str(), nullptr));
  std::mt19937 random(5);
  std::string earlier(300 << 10, '\0');
  for (char& byte : earlier) byte = static_cast<char>(random());
  std::string plugin = plugins + "\\vis_" + test.settings_.projectName + ".dll";
  ASSERT_TRUE(testing_support::WriteFileBytes(plugin, earlier.data(), earlier.size()));
  // Larger than the drive: it cannot be written whole.
  test.alterProject_ = [&random](packager::PayloadBuilder& project) {
    packager::Bytes module((3 << 20) / 2);
    for (uint8_t& byte : module) byte = static_cast<uint8_t>(random());
    packager::Bytes packed = packager::ZlibPack(module);
    packager::PutU32(packed, static_cast<uint32_t>(module.size()));
    ASSERT_TRUE(testing_support::ReplaceItem(project, "WinAmp.dll", packed));
  };
  test.Register(kWinamp2Key, "\"" + player + "\\winamp.exe\" \"%1\"");
  std::vector<DialogSeen> boxes = test.InstallAll(arch, timeoutMs);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(0u, boxes[0].text.find("Unable to copy the plug-in into WinAmp.\n\n")) << boxes[0].text;
  EXPECT_TRUE(testing_support::ReadFileBytes(plugin) == earlier);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((plugins + "\\*.*~*").c_str(), &found);
  EXPECT_EQ(INVALID_HANDLE_VALUE, search) << found.cFileName;
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  testing_support::RemoveTree(player);
}

TEST_P(WinampPluginTestOnEachMachine, DiskFullWhileReplacingThePlugin_EarlierPluginKeptWhole) {
  DiskFullWhileReplacingThePlugin(*this, GetParam().arch, GetParam().timeoutMs);
}

INSTANTIATE_TEST_SUITE_P(Machines, WinampPluginTestOnEachMachine, ::testing::ValuesIn(testing_support::kMachines),
                         testing_support::MachineName);

// More than the 513 characters read: the value cannot be read whole, so it
// is not used at all, and the user is asked.
TEST_F(WinampPluginTest, CommandLongerThanItsBuffer_QuestionShown) {
  Register(kWinamp2Key, "\"" + player_ + "\\" + std::string(600, 'w') + "\\winamp.exe\" \"%1\"");
  DialogSeen question = InstallUntilQuestion();
  ASSERT_NE(nullptr, question.window);
  EXPECT_EQ(kAskWinamp2, question.text);
  EXPECT_TRUE(driver_.Press(question.window, IDNO));
  EXPECT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_EQ(3u, driver_.ExitCode());
}

TEST_F(WinampPluginTest, DirectXTakenAway_WarnedWithThePluginTextOnlyWhenAsked) {
  testing_support::ScopedDllOverride noDirectDraw("setup.exe", "ddraw");
  Register(kWinamp2Key, "\"" + player_ + "\\winamp.exe\" \"%1\"");
  settings_.checkDx8 = 1;
  ASSERT_EQ(1u, InstallAfterWarning("DirectX 8.1 or higher was not detected on this system\n\r"
                                    "DirectX 8.1 or higher needs to be installed before the winamp plugin will work.")
                    .size());
  EXPECT_TRUE(FileExists(player_ + "\\Plugins\\vis_" + settings_.projectName + ".dll"));

  // CheckDx8 zero: DirectX is not looked at, and nothing is said.
  settings_.checkDx8 = 0;
  driver_.Reset();
  std::vector<DialogSeen> boxes = InstallAll();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Installation successfully completed!", boxes[0].text);
}

TEST_F(WinampPluginTest, WinampVersionMissing_ReportedBeforeTheDialog) {
  alterProject_ = [](packager::PayloadBuilder& project) { testing_support::RemoveItem(project, "WinampVersion"); };
  DialogSeen box = Start();
  ASSERT_NE(nullptr, box.window);
  EXPECT_EQ("Can't find winamp version", box.text);
  EXPECT_EQ("Error", box.caption);
  EXPECT_TRUE(driver_.Press(box.window, IDOK));
  EXPECT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_FALSE(FileExists(dir_.File("Apps")));
}

}  // namespace
