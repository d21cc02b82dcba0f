// The real stub, started as a user starts it, with payloads made by the
// packager library: project-type dispatch and the start-up messages.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/InstallerRun.h"
#include "tests/support/Installers.h"
#include "tests/support/Machines.h"
#include "tests/support/StubDriver.h"
#include "tests/support/TempDir.h"

using testing_support::Arch;
using testing_support::Box;
using testing_support::DialogSeen;
using testing_support::kRunMs;
using testing_support::RunToEnd;
using testing_support::StubDriver;
using testing_support::TempDir;

namespace {

packager::PayloadBuilder ProjectTypePayload(uint32_t type) {
  packager::PayloadBuilder payload;
  payload.AddU32("ProjectType", type);
  return payload;
}

std::string MakeInstaller(const TempDir& dir, const packager::PayloadBuilder& payload,
                          const std::string& stub = testing_support::StubPath()) {
  std::string path = dir.File("setup.exe");
  EXPECT_TRUE(testing_support::WriteInstaller(path, stub, payload));
  return path;
}

const Box kNoProjectType{"Can't find project type", "Error"};

// A type without a flow ends without a word, and, having done nothing, with
// the failure's exit code rather than the success's.
DWORD RunWithoutMessages(const std::string& installer, const std::string& arguments = "") {
  StubDriver driver;
  EXPECT_TRUE(driver.Start(installer, arguments));
  EXPECT_TRUE(driver.AnswerAllUntilExit(kRunMs).empty());
  EXPECT_TRUE(driver.WaitForExit(5000));
  return driver.ExitCode();
}

}  // namespace

TEST(Startup, ProjectTypesWithoutFlow_EndSilentlyWithCodeOne) {
  for (uint32_t type : {3u, 4u, 0u, 7u}) {
    TempDir dir;
    EXPECT_EQ(1u, RunWithoutMessages(MakeInstaller(dir, ProjectTypePayload(type)))) << "type " << type;
  }
}

using StartupOnEachMachine = testing_support::OnEachMachine<::testing::Test>;

TEST_P(StartupOnEachMachine, NoPayload_ReportsHeaderThenProjectType) {
  bool x64 = GetParam().arch == Arch::kX64;
  std::vector<Box> boxes =
      RunToEnd(x64 ? testing_support::StubPath() : testing_support::StubPathI686(), GetParam().timeoutMs);
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ("Data header not found!", boxes[0].text);
  EXPECT_EQ(kNoProjectType, boxes[1]);
}

INSTANTIATE_TEST_SUITE_P(Machines, StartupOnEachMachine, ::testing::ValuesIn(testing_support::kMachines),
                         testing_support::MachineName);

TEST(Startup, DamagedProjectType_ReportsCrcWithStoredNameThenProjectType) {
  packager::PayloadBuilder payload;
  payload.AddU32("PROJECTtype", 3);
  TempDir dir;
  std::string path = MakeInstaller(dir, payload);
  // Flip the item's one data byte that differs from zero: the last four bytes
  // are the trailer, the four before them the value.
  std::string image = testing_support::ReadFileBytes(path);
  image[image.size() - 8] ^= 0x01;
  ASSERT_TRUE(testing_support::WriteFileBytes(path, image.data(), image.size()));

  std::vector<Box> boxes = RunToEnd(path);
  EXPECT_EQ((std::vector<Box>{{"Crc error corrupt file", "PROJECTtype"}, kNoProjectType}), boxes);
}

TEST(Startup, ProjectTypeOnlyUnderFileInfo_IsNotFound) {
  packager::PayloadBuilder payload;
  payload.AddU32("ProjectType", 3, "FILEINFO");
  TempDir dir;
  EXPECT_EQ(std::vector<Box>{kNoProjectType}, RunToEnd(MakeInstaller(dir, payload)));
}

TEST(Startup, UpperCaseNameAndType_AreFound) {
  packager::PayloadBuilder payload;
  payload.AddU32("PROJECTTYPE", 3, "APPDATA");
  payload.Items().back().type = "appdata";
  TempDir dir;
  EXPECT_EQ(1u, RunWithoutMessages(MakeInstaller(dir, payload)));
}

TEST(Startup, StartedWithArguments_StillFindsItsPayload) {
  TempDir dir;
  EXPECT_EQ(1u, RunWithoutMessages(MakeInstaller(dir, ProjectTypePayload(4)), "/X \"C:\\some where\""));
}

TEST(Startup, MainWindow_ExistsButIsNeverVisible) {
  // The missing-payload box keeps the process alive long enough to look.
  for (int show : {SW_SHOWNORMAL, SW_SHOWMAXIMIZED}) {
    StubDriver driver;
    ASSERT_TRUE(driver.Start(testing_support::StubPath(), "", show));
    DialogSeen box = driver.WaitForDialog(kRunMs);
    ASSERT_NE(nullptr, box.window);
    HWND main = driver.FindWindowOfClass("VandrelExe Window");
    ASSERT_NE(nullptr, main);
    EXPECT_EQ("VandrelExe", StubDriver::WindowText(main));
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(static_cast<LONG>(WS_OVERLAPPEDWINDOW), GetWindowLongA(main, GWL_STYLE) & WS_OVERLAPPEDWINDOW);
    // Asked for 25 by 25; the system may raise that to the least size a
    // window with a caption can have.
    RECT frame;
    GetWindowRect(main, &frame);
    EXPECT_EQ(std::max(25, GetSystemMetrics(SM_CXMINTRACK)), frame.right - frame.left);
    EXPECT_EQ(std::max(25, GetSystemMetrics(SM_CYMINTRACK)), frame.bottom - frame.top);
    EXPECT_TRUE(driver.Press(box.window, IDOK));
    driver.AnswerAllUntilExit(kRunMs);
    EXPECT_TRUE(driver.WaitForExit(5000));
  }
}

namespace {

// The manifest resource of a stub, or "" when it has none.
std::string ManifestOf(const std::string& stub) {
  HMODULE module = LoadLibraryExA(stub.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) return "";
  std::string text;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  if (loaded != nullptr) text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
  FreeLibrary(module);
  return text;
}

}  // namespace

TEST(Startup, Manifests_ExecutionLevelPerVariantCommonControlsAndWindows11) {
  std::string stub = testing_support::StubPath();
  std::string admin = stub.substr(0, stub.size() - 4) + "Admin.exe";
  for (const std::string& path : {stub, admin}) {
    std::string manifest = ManifestOf(path);
    EXPECT_NE(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"")) << path;
    // The Windows 10 and 11 compatibility id.
    EXPECT_NE(std::string::npos, manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}")) << path;
  }
  EXPECT_NE(std::string::npos, ManifestOf(stub).find("level=\"asInvoker\""));
  EXPECT_NE(std::string::npos, ManifestOf(admin).find("level=\"requireAdministrator\""));
}
