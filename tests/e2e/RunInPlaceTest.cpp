// Run-in-place projects: the real stub, a whole project made by the packager
// library with the stand-in viewer and engine, under Wine.
#include <gtest/gtest.h>

#include <string.h>
#include <zlib.h>

#include <algorithm>

#include "packager/EngineFormat.h"
#include "tests/support/Environment.h"
#include "tests/support/ExpectedMessages.h"
#include "tests/support/InstallerRun.h"
#include "tests/support/Installers.h"
#include "tests/support/Logs.h"
#include "tests/support/Machines.h"
#include "tests/support/OwnTempFolder.h"
#include "tests/support/Projects.h"
#include "tests/support/StubDriver.h"
#include "tests/support/TempDir.h"
#include "tests/support/ViewerHold.h"

using testing_support::Arch;
using testing_support::Box;
using testing_support::FileExists;
using testing_support::kRunMs;
using testing_support::ProjectFiles;
using testing_support::ScopedEnvironment;
using testing_support::StubDriver;
using testing_support::TempDir;
using testing_support::Wide;

namespace {

std::string Crc(const std::string& bytes) {
  char text[16];
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
  snprintf(text, sizeof(text), "%08lX", static_cast<unsigned long>(crc));
  return text;
}

class RunInPlaceTest : public testing_support::OwnTempFolderTest {
 protected:
  std::vector<Box> Run(const packager::PayloadBuilder& payload, Arch arch = Arch::kX64, DWORD timeoutMs = kRunMs) {
    std::string installer = dir_.File("setup.exe");
    std::string stub = arch == Arch::kX64 ? testing_support::StubPath() : testing_support::StubPathI686();
    EXPECT_TRUE(testing_support::WriteInstaller(installer, stub, payload));
    return testing_support::RunToEnd(installer, timeoutMs);
  }

  bool Logged(const std::string& line) const { return testing_support::HasLine(log_, line); }

  size_t Position(const std::string& line) const {
    std::vector<std::string> lines = testing_support::LogLines(log_);
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
  }

  std::string Work() const { return temp_ + "\\Vandrel0"; }

  void ExpectSuccessfulRun(const ProjectFiles& files) {
    std::string work = Work();
    EXPECT_TRUE(Logged("Viewer command VandrelViewer.exe VDLStart.vdl"));
    EXPECT_TRUE(Logged("Viewer folder " + work));
    EXPECT_TRUE(Logged("Viewer program " + work + "\\VandrelViewer.exe"));
    EXPECT_FALSE(files.plain.empty());
    for (const auto& [path, plain] : files.plain) {
      EXPECT_TRUE(Logged("Viewer file " + path + " " + std::to_string(plain.size()) + " " + Crc(plain))) << path;
    }
    // The engine was gone before the viewer came.
    EXPECT_LT(Position("DllDetach"), Position("Viewer start"));
    EXPECT_TRUE(Logged("Viewer end"));
    // Everything went, the viewer's "channel.lst" and the folder included.
    EXPECT_FALSE(FileExists(work)) << work;
  }
};

using RunInPlaceTestOnEachMachine = testing_support::OnEachMachine<RunInPlaceTest>;

TEST_P(RunInPlaceTestOnEachMachine, WholeProject_ViewerSeesEverythingThenAllIsRemoved) {
  ProjectFiles files;
  const testing_support::Machine& machine = GetParam();
  EXPECT_TRUE(Run(testing_support::RunInPlaceProject(machine.arch, &files), machine.arch, machine.timeoutMs).empty());
  ExpectSuccessfulRun(files);
}

INSTANTIATE_TEST_SUITE_P(Machines, RunInPlaceTestOnEachMachine, ::testing::ValuesIn(testing_support::kMachines),
                         testing_support::MachineName);

TEST_F(RunInPlaceTest, ViewerLeavesAFile_ItAndItsFoldersStay) {
  ScopedEnvironment leave("VDL_VIEWER_LEAVE", "scenes\\Notes.txt");
  Run(testing_support::RunInPlaceProject(Arch::kX64));
  EXPECT_TRUE(FileExists(Work() + "\\scenes\\Notes.txt"));
  EXPECT_FALSE(FileExists(Work() + "\\scenes\\Quay.vdl"));
  EXPECT_FALSE(FileExists(Work() + "\\channels"));
  EXPECT_FALSE(FileExists(Work() + "\\VandrelViewer.exe"));
  EXPECT_FALSE(FileExists(Work() + "\\channel.lst"));
}

TEST_F(RunInPlaceTest, ViewerThatCannotStart_ReportedWithCodeAndFilesRemoved) {
  packager::PayloadBuilder payload = testing_support::RunInPlaceProject(Arch::kX64);
  ASSERT_TRUE(testing_support::ReplaceItem(payload, "VandrelViewer.exe", [] {
    packager::Bytes packed = packager::ZlibPack(packager::Bytes(300, 'v'));
    packager::PutU32(packed, 300);
    return packed;
  }()));
  ASSERT_TRUE(testing_support::WriteInstaller(dir_.File("setup.exe"), testing_support::StubPath(), payload));
  StubDriver driver;
  ASSERT_TRUE(driver.Start(dir_.File("setup.exe")));
  testing_support::DialogSeen box = driver.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, box.window);
  EXPECT_EQ("Unable to start vandrelviewer.exe", box.text);
  EXPECT_EQ(std::to_string(ERROR_BAD_EXE_FORMAT), box.caption);
  // Shown while the viewer that would not start is still there to look at.
  EXPECT_TRUE(FileExists(Work() + "\\VandrelViewer.exe"));
  ASSERT_TRUE(driver.Press(box.window, IDOK));
  ASSERT_TRUE(driver.WaitForExit(kRunMs));
  EXPECT_FALSE(FileExists(Work()));
}

TEST_F(RunInPlaceTest, PlantedViewerBesideTheInstaller_NotStarted) {
  CopyFileA(testing_support::StandInViewerPath(Arch::kX64).c_str(), dir_.File("VandrelViewer.exe").c_str(), FALSE);
  Run(testing_support::RunInPlaceProject(Arch::kX64));
  EXPECT_TRUE(Logged("Viewer program " + Work() + "\\VandrelViewer.exe"));
  EXPECT_FALSE(Logged("Viewer program " + dir_.File("VandrelViewer.exe")));
}

TEST_F(RunInPlaceTest, EarlyStops_MessageAndWhatIsLeft) {
  auto project = [] { return testing_support::RunInPlaceProject(Arch::kX64); };
  // The copy message is followed by the system's reason, where there is one.
  using testing_support::kCopyError;
  const char kNoEngine[] = "The engine, Tessaron.dll, could not be started.";
  struct Case {
    const char* what;
    packager::PayloadBuilder payload;
    const char* refuse;
    std::vector<std::string> texts;
    std::string lastCaption;
    const char* fail = "";
  };
  packager::Bytes packedEmpty = packager::ZlibPack(packager::Bytes());
  packager::PutU32(packedEmpty, 0);
  std::vector<Case> cases;
  {
    auto p = project();
    testing_support::RemoveItem(p, "VandrelViewer.exe");
    cases.push_back({"no viewer", p, "", {"VandrelViewer.exe not found"}, "P"});
  }
  // An empty program or start file is damage: reported as a missing one is.
  for (const char* name : {"VandrelViewer.exe", "Tessaron.dll", "VDLStart.vdl"}) {
    auto p = project();
    testing_support::ReplaceItem(p, name, strcmp(name, "VDLStart.vdl") == 0 ? packager::Bytes() : packedEmpty);
    bool viewer = strcmp(name, "VandrelViewer.exe") == 0;
    cases.push_back({name, p, "", {viewer ? "VandrelViewer.exe not found" : kCopyError}, viewer ? "P" : "Installation Error"});
  }
  {
    auto p = project();
    testing_support::ReplaceItem(p, "channels\\FolderUnit.dll", packager::Bytes{1, 2, 3, 4, 5, 6});
    // The copy message names the file and, after it, the system's word for
    // damaged data.
    std::string named = std::string(kCopyError) + "\n" + Work() + "\\channels\\FolderUnit.dll";
    cases.push_back({"damaged engine file", p, "", {"Error decompress", named}, "Installation Error"});
  }
  {
    auto p = project();
    packager::Bytes notADll = packager::ZlibPack(packager::Bytes(64, 'x'));
    packager::PutU32(notADll, 64);
    testing_support::ReplaceItem(p, "Tessaron.dll", notADll);
    cases.push_back({"engine not loadable", p, "", {kNoEngine}, "Error"});
  }
  cases.push_back({"engine does not start", project(), "", {kNoEngine}, "Error", "initialise"});
  cases.push_back({"no loader", project(), "loader", {"Can't init loaderunit"}, "P"});
  {
    auto p = project();
    testing_support::RemoveItem(p, "ChannelCount", "CHANNELINFO");
    cases.push_back({"no channel count", p, "", {"Can't find ChannelCount"}, "Error"});
  }
  {
    auto p = project();
    testing_support::RemoveItem(p, "FileCount", "FILEINFO");
    cases.push_back({"no file count", p, "", {"Can't find FileCount"}, "Error"});
  }
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedEnvironment refuse("VDL_ENGINE_REFUSE", c.refuse);
    ScopedEnvironment fail("VDL_ENGINE_FAIL", c.fail);
    std::vector<Box> boxes = Run(c.payload);
    std::vector<std::string> texts = testing_support::Texts(boxes);
    for (std::string& text : texts) text = text.substr(0, text.find("\n\n"));
    EXPECT_EQ(c.texts, texts);
    if (!boxes.empty()) {
      EXPECT_EQ(c.lastCaption, boxes.back().caption);
    }
    // Nothing is cleaned up after an early stop; the viewer never ran.
    EXPECT_TRUE(FileExists(Work()));
    EXPECT_FALSE(Logged("Viewer start"));
    testing_support::RemoveTree(Work());
  }
}

TEST_F(RunInPlaceTest, NoCheckDx8_ReportedAndNoFolder) {
  packager::PayloadBuilder payload = testing_support::RunInPlaceProject(Arch::kX64);
  ASSERT_TRUE(testing_support::RemoveItem(payload, "CheckDx8"));
  std::vector<Box> boxes = Run(payload);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Can't find project type CheckDx8", boxes[0].text);
  EXPECT_EQ("Error", boxes[0].caption);
  EXPECT_FALSE(FileExists(Work()));
}

TEST_F(RunInPlaceTest, DirectXMissing_CheckedOnlyWhenAsked) {
  testing_support::ScopedDllOverride overrides("setup.exe", "ddraw");
  packager::PayloadBuilder payload = testing_support::RunInPlaceProject(Arch::kX64);
  ASSERT_TRUE(testing_support::ReplaceItem(payload, "CheckDx8", packager::Bytes{1}));
  std::vector<Box> boxes = Run(payload);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(
      "DirectX 8.1 or higher was not detected on this system\n\r"
      "Please install DirectX 8.1 or higher for this application to run.",
      boxes[0].text);
  EXPECT_EQ("DirectX version check error", boxes[0].caption);
  EXPECT_FALSE(FileExists(Work()));

  ProjectFiles files;
  EXPECT_TRUE(Run(testing_support::RunInPlaceProject(Arch::kX64, &files)).empty());
  ExpectSuccessfulRun(files);
}

// A user sees nothing of a project that runs in place until its viewer
// comes: a working folder that cannot be made must be reported.
TEST_F(RunInPlaceTest, TemporaryFolderMissing_MessageNamesItAndTheReason) {
  std::string missing = dir_.File("gone\\temp");
  ScopedEnvironment tmp("TMP", missing.c_str());
  ScopedEnvironment tempVariable("TEMP", missing.c_str());
  std::vector<Box> boxes = Run(testing_support::RunInPlaceProject(Arch::kX64));
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Unable to create a working folder in the temporary folder\n" + missing + "\\\n\n" +
                testing_support::SystemReason(ERROR_PATH_NOT_FOUND),
            boxes[0].text);
  EXPECT_EQ("Error", boxes[0].caption);
  EXPECT_FALSE(Logged("Viewer start"));
}

bool CodePageHolds(const std::wstring& text) {
  BOOL lossy = FALSE;
  char ansi[1024];
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, ansi, sizeof(ansi), nullptr, &lossy);
  return !lossy;
}

// A user whose name the ANSI code page cannot hold has such a temporary
// folder: the project runs from the folder's short name.
TEST_F(RunInPlaceTest, TemporaryFolderNamedOutsideTheCodePage_RunsThroughItsShortName) {
  std::wstring temp = Wide(dir_.Path()) + L"\\Временная";
  if (CodePageHolds(temp)) GTEST_SKIP() << "the ANSI code page holds Cyrillic letters";
  ASSERT_TRUE(CreateDirectoryW(temp.c_str(), nullptr));
  ScopedEnvironment tmp(L"TMP", temp), tempVariable(L"TEMP", temp);
  ProjectFiles files;
  EXPECT_TRUE(Run(testing_support::RunInPlaceProject(Arch::kX64, &files)).empty());
  EXPECT_TRUE(Logged("Viewer command VandrelViewer.exe VDLStart.vdl"));
  for (const auto& [path, plain] : files.plain) {
    EXPECT_TRUE(Logged("Viewer file " + path + " " + std::to_string(plain.size()) + " " + Crc(plain))) << path;
  }
  EXPECT_TRUE(Logged("Viewer end"));
  // Run from below the real folder, and all of it removed afterwards.
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((temp + L"\\Vandrel*").c_str(), &found);
  EXPECT_EQ(INVALID_HANDLE_VALUE, search);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  RemoveDirectoryW(temp.c_str());
}

TEST_F(RunInPlaceTest, TemporaryFolderNamedOutsideTheCodePageNotThere_MessageNamesIt) {
  std::wstring temp = Wide(dir_.Path()) + L"\\Временная";
  if (CodePageHolds(temp)) GTEST_SKIP() << "the ANSI code page holds Cyrillic letters";
  ScopedEnvironment tmp(L"TMP", temp), tempVariable(L"TEMP", temp);
  std::string installer = dir_.File("setup.exe");
  ASSERT_TRUE(testing_support::WriteInstaller(installer, testing_support::StubPath(),
                                              testing_support::RunInPlaceProject(Arch::kX64)));
  StubDriver driver;
  ASSERT_TRUE(driver.Start(installer));
  testing_support::DialogSeen box = driver.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, box.window);
  wchar_t text[1024] = L"";
  GetWindowTextW(GetDlgItem(box.window, 0xFFFF), text, 1024);
  EXPECT_EQ("Error", box.caption);
  EXPECT_NE(std::wstring::npos, std::wstring(text).find(temp)) << box.text;
  EXPECT_TRUE(driver.Press(box.window, IDOK));
  EXPECT_TRUE(driver.WaitForExit(kRunMs));
  EXPECT_EQ(1u, driver.ExitCode());
  EXPECT_FALSE(Logged("Viewer start"));
}

// A project file of no bytes, stored so or decoded by the engine to nothing.
TEST_F(RunInPlaceTest, EmptyProjectFiles_WrittenAndTheRunGoesOn) {
  ProjectFiles files;
  packager::PayloadBuilder payload = testing_support::RunInPlaceProject(Arch::kX64, &files);
  testing_support::AddProjectFiles(
      payload, {{"Blank.vdl", packager::EngineEncode(packager::Bytes())}, {"music/Silence.cgr", packager::Bytes()}});
  files.plain["Blank.vdl"] = "";
  files.plain["music\\Silence.cgr"] = "";
  EXPECT_TRUE(Run(payload).empty());
  ExpectSuccessfulRun(files);
}

// A double double-click: two runs of one installer at once. The one whose
// viewer ends first removes its own files, none of the other's.
TEST_F(RunInPlaceTest, TwoStartsAtOnce_NeitherRemovesTheOthersFiles) {
  ProjectFiles files;
  std::string installer = dir_.File("setup.exe");
  ASSERT_TRUE(testing_support::WriteInstaller(installer, testing_support::StubPath(),
                                              testing_support::RunInPlaceProject(Arch::kX64, &files)));
  std::string quickLog = dir_.File("quick.log"), heldLog = dir_.File("held.log");
  StubDriver quick, held;
  // Gone before the drivers: the held viewer's run removes its own folder.
  testing_support::ViewerHold viewerHold(dir_.File("release"), heldLog);
  {
    ScopedEnvironment log("VDL_VIEWER_LOG", heldLog.c_str());
    ScopedEnvironment hold("VDL_VIEWER_HOLD", viewerHold.ReleaseFile().c_str());
    ASSERT_TRUE(held.Start(installer));
  }
  // The second run starts once the first has its folder: on a loaded machine
  // the first could otherwise start after the second had ended and take the
  // same, by then free, name.
  std::string heldFolder = testing_support::WaitForLineStartingWith(heldLog, "Viewer folder ", kRunMs);
  ASSERT_FALSE(heldFolder.empty());
  {
    ScopedEnvironment log("VDL_VIEWER_LOG", quickLog.c_str());
    ASSERT_TRUE(quick.Start(installer));
  }
  ASSERT_TRUE(quick.WaitForExit(kRunMs));
  std::string quickFolder = testing_support::WaitForLineStartingWith(quickLog, "Viewer folder ", 0);
  ASSERT_FALSE(quickFolder.empty());
  EXPECT_NE(quickFolder, heldFolder);
  EXPECT_FALSE(FileExists(quickFolder));
  ASSERT_FALSE(files.plain.empty());
  for (const auto& [path, plain] : files.plain) EXPECT_TRUE(FileExists(heldFolder + "\\" + path)) << path;
  EXPECT_TRUE(FileExists(heldFolder + "\\VandrelViewer.exe"));
  EXPECT_FALSE(testing_support::WaitForLine(heldLog, "Viewer end", 0));
  ASSERT_TRUE(viewerHold.Release());
  ASSERT_TRUE(held.WaitForExit(kRunMs));
  EXPECT_TRUE(testing_support::WaitForLine(heldLog, "Viewer end", 0));
  EXPECT_FALSE(FileExists(heldFolder));
}

}  // namespace
