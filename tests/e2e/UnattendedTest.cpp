// Unattended installations, as an administrator's script runs them: "/S",
// "/D=", "/LOG=" and the exit code, with no window of the installer's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "packager/EngineFormat.h"
#include "tests/e2e/StandaloneFixture.h"
#include "tests/support/FolderCases.h"
#include "tests/support/FileHolder.h"
#include "tests/support/Logs.h"
#include "tests/support/Payloads.h"
#include "tests/support/SeamLog.h"

using namespace standalone_e2e;
using testing_support::FileExists;

namespace {

constexpr char kWinamp2Key[] = "Applications\\Winamp.exe\\shell\\open\\command";

class UnattendedTest : public StandaloneTest {
 public:
  UnattendedTest() { testing_support::DeleteClassesRootTree("Applications\\Winamp.exe"); }
  ~UnattendedTest() override { testing_support::DeleteClassesRootTree("Applications\\Winamp.exe"); }
};

// The folder on the command line has a space, as a folder under "Program
// Files" would; the uninstall entry says who made the product.
TEST_F(UnattendedTest, StandaloneSilent_InstalledInTheGivenFolderWithItsUninstallEntry) {
  alterProject_ = [](packager::PayloadBuilder& project) {
    ASSERT_TRUE(project.AddText("DisplayVersion", "2.4.1"));
    ASSERT_TRUE(project.AddText("Publisher", "Vandrel Tours"));
  };
  settings_.runAfterInstall = 1;
  settings_.installPath = dir_.File("Apps\\Unused");
  std::string folder = dir_.File("Program Files\\Harbour Tour");
  EXPECT_EQ(0u, RunSilently("/S /D=" + folder + "  "));
  settings_.installPath = folder;
  EXPECT_TRUE(FileExists(folder + "\\VandrelViewer.exe"));
  EXPECT_TRUE(FileExists(folder + "\\uninstall.nfo"));
  EXPECT_FALSE(FileExists(dir_.File("Apps\\Unused")));
  std::string key = kUninstallKey + settings_.projectName;
  EXPECT_EQ("\"" + folder + "\\VDLUnInst.exe\"", testing_support::MachineString(key, "UninstallString", view32_));
  EXPECT_EQ("2.4.1", testing_support::MachineString(key, "DisplayVersion", view32_));
  EXPECT_EQ("Vandrel Tours", testing_support::MachineString(key, "Publisher", view32_));
  EXPECT_EQ(folder + "\\VandrelViewer.exe", testing_support::MachineString(key, "DisplayIcon", view32_));
  // Silent, nothing is started after the installation.
  for (const std::string& line : testing_support::LogLines(setupLog_)) EXPECT_NE(0u, line.find("Starting"));
  EXPECT_TRUE(Logged("Installing into: " + folder));
  EXPECT_TRUE(Logged("Created: " + folder + "\\VandrelViewer.exe"));
  // One line to an entry: the message's own line break is a space there.
  EXPECT_TRUE(Logged(settings_.projectName +
                     ": Installation successfully completed!  You are able to find the installed program in the Start menu."))
      << testing_support::ReadFileBytes(setupLog_);
  EXPECT_TRUE(Logged("Exit code: 0"));
}

// The earlier viewer held by a program (still running, or a scanner reading
// it): a hold of a few seconds is waited out; one that lasts fails the run
// within a minute, the earlier viewer whole and the log naming it.
TEST_F(UnattendedTest, ViewerHeld_BriefHoldWaitedOutLastingHoldFailsNamingIt) {
  std::string folder = dir_.File("Harbour");
  std::string viewer = folder + "\\VandrelViewer.exe";
  // A program image of the machine under test, other than the new viewer.
  std::string earlier = testing_support::ReadFileBytes(testing_support::StandInUninstallerPath(Arch::kX64));
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  for (DWORD held : {120000u, 3000u}) {
    SCOPED_TRACE(held);
    driver_.Reset();
    ASSERT_TRUE(testing_support::WriteFileBytes(viewer, earlier.data(), earlier.size()));
    // A running viewer maps its program; a scanner reads it for a moment.
    testing_support::FileHolder holder(
        viewer, held == 3000u ? testing_support::FileHolder::kOpen : testing_support::FileHolder::kImage, held);
    ASSERT_TRUE(holder.Holding());
    DWORD start = GetTickCount();
    DWORD code = RunSilently("/S /D=" + folder);
    if (held == 3000u) {
      EXPECT_EQ(0u, code);
      EXPECT_EQ(testing_support::ReadFileBytes(testing_support::StandInViewerPath(Arch::kX64)),
                testing_support::ReadFileBytes(viewer));
      continue;
    }
    EXPECT_EQ(1u, code);
    EXPECT_LT(GetTickCount() - start, 60000u);
    EXPECT_EQ(earlier, testing_support::ReadFileBytes(viewer));
    std::string log = testing_support::ReadFileBytes(setupLog_);
    EXPECT_NE(std::string::npos, log.find("Installation Error: There was an error while trying to copy")) << log;
    EXPECT_NE(std::string::npos, log.find(viewer)) << log;
  }
}

// A logoff asked while a silent installation is in the middle of one long
// step (the engine decoding a file): the hidden window says no at once, as
// the system waits only seconds before it ends a program that does not
// answer, and the installation then completes.
TEST_F(UnattendedTest, LogoffDuringALongStep_RefusedAtOnceAndInstallationCompletes) {
  ScopedEnvironment slow("VDL_ENGINE_SLOW", "2000");
  WriteSetup();
  std::string folder = dir_.File("Harbour");
  ASSERT_TRUE(driver_.Start(dir_.File("setup.exe"), "/LOG=\"" + setupLog_ + "\" /S /D=" + folder));
  // The engine waits after each file it decodes.
  for (DWORD waited = 0; waited < kRunMs && !testing_support::HasLine(log_, "Process -> 1"); waited += 20) Sleep(20);
  ASSERT_TRUE(testing_support::HasLine(log_, "Process -> 1"));
  HWND main = driver_.FindWindowOfClass("VandrelExe Window");
  ASSERT_NE(nullptr, main);
  EXPECT_FALSE(IsWindowVisible(main));
  // Answered within half a second, a quarter of the engine's wait.
  DWORD_PTR answer = 1;
  EXPECT_NE(0, SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 500, &answer));
  EXPECT_EQ(0u, answer);
  EXPECT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_EQ(0u, driver_.ExitCode());
  EXPECT_TRUE(FileExists(folder + "\\uninstall.nfo"));
}

// No thread can be started for the hidden window (no memory left for one):
// the run makes the window itself, as a run with dialogs does, hands it to
// the engine and installs.
TEST_F(UnattendedTest, WindowThreadNotStarted_RunMakesTheWindowAndInstalls) {
  stub_ = testing_support::FaultStubPath(testing_support::MachineUnderTest());
  std::string seamLog = dir_.File("seam.log");
  ScopedEnvironment seam("VDL_FAULT_LOG", seamLog.c_str());
  ASSERT_EQ(0u, RunSilently("/S /D=" + dir_.File("Counted")));
  std::vector<std::string> calls = testing_support::ReadSeamLog(seamLog).calls;
  for (const std::string call : {"CreateEventA", "CreateThread"}) {
    SCOPED_TRACE(call);
    auto named = std::find(calls.begin(), calls.end(), call);
    ASSERT_NE(calls.end(), named);
    std::string number = std::to_string(named - calls.begin() + 1);
    ScopedEnvironment fail("VDL_FAULT_AT", number.c_str());
    DeleteFileA(seamLog.c_str());
    DeleteFileA(log_.c_str());
    driver_.Reset();
    std::string folder = dir_.File(call);
    EXPECT_EQ(0u, RunSilently("/S /D=" + folder));
    EXPECT_EQ(call, testing_support::ReadSeamLog(seamLog).failed);
    EXPECT_TRUE(testing_support::HasLine(log_, "Initialise VandrelExe Window window=1"));
    EXPECT_TRUE(FileExists(folder + "\\uninstall.nfo"));
  }
}

// Many small files in one folder, as projects of scenes and textures have:
// each is created where it belongs, every other one by a thread beside while
// the one before is written. The seam counts only the run's own thread: of
// sixteen files more, it creates eight and deletes none (a file made beside
// and then thrown away and made again would count in both), and every file
// is whole.
TEST_F(UnattendedTest, ManySmallFiles_EveryOtherMadeBesideNoneMadeTwice) {
  stub_ = testing_support::FaultStubPath(testing_support::MachineUnderTest());
  std::string seamLog = dir_.File("seam.log");
  ScopedEnvironment seam("VDL_FAULT_LOG", seamLog.c_str());
  long created = 0, deleted = 0;
  for (int extra : {16, 32}) {
    std::map<std::string, packager::Bytes> files;
    for (int i = 0; i < extra; ++i) {
      files["scenes\\Frame" + std::to_string(i) + ".vdl"] = testing_support::B(std::string(100 + i, 'x'));
    }
    alterProject_ = [&](packager::PayloadBuilder& project) {
      std::map<std::string, packager::Bytes> stored;
      for (const auto& [name, bytes] : files) stored[name] = packager::EngineEncode(bytes);
      testing_support::AddProjectFiles(project, stored);
    };
    std::string folder = dir_.File("Frames" + std::to_string(extra));
    DeleteFileA(seamLog.c_str());
    ASSERT_EQ(0u, RunSilently("/S /D=" + folder));
    for (const auto& [name, bytes] : files) {
      EXPECT_EQ(testing_support::Str(bytes), testing_support::ReadFileBytes(folder + "\\" + name)) << name;
    }
    std::vector<std::string> calls = testing_support::ReadSeamLog(seamLog).calls;
    long sign = extra == 32 ? 1 : -1;
    created += sign * std::count(calls.begin(), calls.end(), "CreateFileA");
    deleted += sign * std::count(calls.begin(), calls.end(), "DeleteFileA");
    // The next run as this one: no links or uninstall entry to replace.
    driver_.Reset();
    ForgetInstallation();
  }
  EXPECT_EQ(8, created);
  EXPECT_EQ(0, deleted);
}

// A list that names one file three times, spelled another way each time:
// the file opened ahead for one spelling is the file the entry before it is
// creating. That entry finds it there, held by the installer itself, and
// must not take it for another program's, wait and fail. Installed as
// before: each spelling's bytes replace the earlier ones.
TEST_F(UnattendedTest, ListNamingOneFileThrice_InstalledWithoutWaitingOnItself) {
  alterProject_ = [](packager::PayloadBuilder& project) {
    std::map<std::string, packager::Bytes> stored;
    for (const char* name : {"Frame0.vdl", "Frame1.vdl", "Frame2.vdl", "TWICE.vdl", "Twice.vdl", "twice.VDL"}) {
      stored[std::string("scenes\\") + name] = packager::EngineEncode(testing_support::B("the same frame"));
    }
    testing_support::AddProjectFiles(project, stored);
  };
  std::string folder = dir_.File("Twice");
  EXPECT_EQ(0u, RunSilently("/S /D=" + folder));
  EXPECT_EQ("the same frame", testing_support::ReadFileBytes(folder + "\\scenes\\twice.vdl"));
  EXPECT_FALSE(FileExists(folder + "\\scenes\\Twice.vdl~vdlnew"));
}

// A folder quoted after its '=', as a batch file writes it, ends at its
// closing quote: the switch after it is read as a switch.
TEST_F(UnattendedTest, FolderQuotedAfterItsEquals_EndsAtItsQuoteLaterSwitchesRead) {
  std::string folder = dir_.File("Quoted Tour");
  std::string log = dir_.File("quoted.log");
  EXPECT_EQ(0u, RunSilently("/S /D=\"" + folder + "\" /LOG=\"" + log + "\""));
  EXPECT_TRUE(FileExists(folder + "\\VandrelViewer.exe"));
  EXPECT_TRUE(FileExists(log));
}

// Switches quoted whole, as a script's launcher passes them.
TEST_F(UnattendedTest, ScreenSaverSilentQuoted_InstalledWithoutBrandingValues) {
  settings_.projectType = 5;
  std::string folder = dir_.File("Screen Savers\\Harbour");
  EXPECT_EQ(0u, RunSilently("\"/s\" \"/D=" + folder + "\""));
  EXPECT_TRUE(FileExists(folder + "\\uninstall.nfo"));
  std::string saver = testing_support::SystemFolder(view32_) + "\\" + settings_.projectName + ".scr";
  EXPECT_EQ(testing_support::kScreenSaverModule, testing_support::ReadFileBytes(saver));
  std::string key = kUninstallKey + settings_.projectName;
  EXPECT_EQ(settings_.projectName, testing_support::MachineString(key, "DisplayName", view32_));
  EXPECT_EQ("<missing>", testing_support::MachineString(key, "Publisher", view32_));
  EXPECT_EQ("<missing>", testing_support::MachineString(key, "DisplayIcon", view32_));
  // No empty links in the list of programs either.
  EXPECT_EQ("<missing>", testing_support::MachineString(key, "URLInfoAbout", view32_));
  EXPECT_EQ("<missing>", testing_support::MachineString(key, "HelpLink", view32_));
}

// The player's folder: the registered one, else the one on the command line,
// else the run fails as lacking what the project needs.
TEST_F(UnattendedTest, PluginSilent_PlayerFromRegistryOrCommandLineOrCodeThree) {
  settings_.projectType = 6;
  std::string registered = dir_.File("Winamp");
  std::string given = dir_.File("Other Winamp");
  for (const std::string& player : {registered, given}) {
    CreateDirectoryA(player.c_str(), nullptr);
    CreateDirectoryA((player + "\\Plugins").c_str(), nullptr);
  }
  ASSERT_TRUE(testing_support::SetClassesRootDefault(kWinamp2Key, "\"" + registered + "\\winamp.exe\" \"%1\""));
  std::string plugin = "\\Plugins\\vis_" + settings_.projectName + ".dll";
  EXPECT_EQ(0u, RunSilently("/S /D=" + given));
  EXPECT_EQ(testing_support::kPluginModule, testing_support::ReadFileBytes(registered + plugin));
  testing_support::DeleteClassesRootTree("Applications\\Winamp.exe");
  driver_.Reset();
  EXPECT_EQ(0u, RunSilently("/S /D=" + given));
  EXPECT_EQ(testing_support::kPluginModule, testing_support::ReadFileBytes(given + plugin));
  // Without a player nothing is written, not even into StartupDirectory.
  testing_support::RemoveTree(Install());
  driver_.Reset();
  EXPECT_EQ(3u, RunSilently("/S"));
  EXPECT_TRUE(Logged("Exit code: 3"));
  EXPECT_FALSE(FileExists(Install()));
}

// As administrators write them: a quoted folder ends at its closing quote
// and the switches after it count; a drive's root and names Windows
// refuses are refused before anything is made.
// Each folder of the table the manifest test gives vpack's InstallPath:
// the same verdict, a refused one making nothing.
TEST_F(UnattendedTest, FolderTable_SameVerdictsAsVpack) {
  std::string base = dir_.File("Base");
  for (const testing_support::FolderCase& c : testing_support::kFolderCases) {
    std::string path = c.path;
    size_t at = path.find("{base}");
    if (at != std::string::npos) path.replace(at, 6, base);
    DWORD code = RunSilently("\"/D=" + path + "\" /S");
    EXPECT_EQ(c.accepted ? 0u : 1u, code) << path;
    EXPECT_EQ(c.accepted, Logged("Installing into: " + path)) << path;
    ForgetInstallation();
    testing_support::RemoveTree(base);
  }
}

TEST_F(UnattendedTest, CommandLinesAsWritten_QuotedFolderEndsAtItsQuoteRefusedFoldersMakeNothing) {
  WriteSetup();
  std::string folder = dir_.File("Program Files\\Tour");
  ASSERT_TRUE(driver_.Start(dir_.File("setup.exe"), "/S \"/D=" + folder + "\" /LOG=" + setupLog_));
  EXPECT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_EQ(0u, driver_.ExitCode());
  EXPECT_TRUE(FileExists(folder + "\\VandrelViewer.exe"));
  EXPECT_TRUE(Logged("Exit code: 0"));
  for (const std::string& refused : {std::string("C:\\"), dir_.File("Pipe\\pi|pe"), dir_.File("Devices\\CON\\Tour"),
                                     dir_.File("Dots\\Tour.")}) {
    SCOPED_TRACE(refused);
    driver_.Reset();
    EXPECT_EQ(1u, RunSilently("/S /D=" + refused));
    EXPECT_TRUE(Logged("Installation Options: Please choose a folder, not a drive, whose names Windows allows."));
  }
  for (const char* made : {"Pipe", "Devices", "Dots"}) EXPECT_FALSE(FileExists(dir_.File(made)));
}

TEST_F(UnattendedTest, RunInPlaceSilent_ViewerRunsAndCodeZero) {
  settings_.projectType = 1;
  alterProject_ = [](packager::PayloadBuilder& project) {
    project = testing_support::RunInPlaceProject(testing_support::Arch::kX64);
  };
  EXPECT_EQ(0u, RunSilently("/S"));
  EXPECT_TRUE(testing_support::HasLine(log_, "Viewer end"));
}

// A damaged file and a folder the dialog would refuse: code 1 and the
// reason in the log, in place of the box.
TEST_F(UnattendedTest, FailuresSilent_CodeOneAndTheReasonLogged) {
  packager::Bytes damaged;
  alterProject_ = [&damaged](packager::PayloadBuilder& project) {
    for (const packager::Item& item : project.Items()) {
      if (item.name.find(".cgr") != std::string::npos) damaged = item.data;
    }
  };
  alterPayload_ = [&damaged](packager::Bytes& payload) {
    auto at = std::search(payload.begin(), payload.end(), damaged.begin(), damaged.end());
    ASSERT_NE(payload.end(), at);
    at[damaged.size() - 1] ^= 0x01;
  };
  EXPECT_EQ(1u, RunSilently("/S /D=" + Install()));
  EXPECT_FALSE(Logged("Exit code: 0"));
  std::vector<std::string> lines = testing_support::LogLines(setupLog_);
  bool named = false;
  for (const std::string& line : lines) named = named || line.find("Crc error corrupt file") != std::string::npos;
  EXPECT_TRUE(named) << testing_support::ReadFileBytes(setupLog_);
  alterProject_ = nullptr;
  alterPayload_ = nullptr;
  driver_.Reset();
  EXPECT_EQ(1u, RunSilently("/S /D=relative\\folder"));
  EXPECT_TRUE(Logged("Installation Options: Please enter the full path of the installation folder."));
  for (const std::string& line : testing_support::LogLines(setupLog_)) EXPECT_NE(0u, line.find("Installing into"));
}

// Without "/S" the boxes are as ever, and the code tells how it ended.
TEST_F(UnattendedTest, ExitCodesWithDialogs_CancelTwoDirectXDeclinedThree) {
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  EXPECT_TRUE(driver_.Press(options.window, kCancel));
  EXPECT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_EQ(2u, driver_.ExitCode());
  driver_.Reset();
  testing_support::ScopedDllOverride noDirectDraw("setup.exe", "ddraw");
  settings_.checkDx8 = 1;
  DialogSeen question = Start();
  ASSERT_NE(nullptr, question.window);
  EXPECT_TRUE(driver_.Press(question.window, IDNO));
  EXPECT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_EQ(3u, driver_.ExitCode());
}

}  // namespace
