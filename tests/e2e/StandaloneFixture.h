#pragma once
// The standalone installer under test: its settings, its own folder and log,
// the driver that works its windows, and the clean-up of what it leaves in
// the Start menu and the registry.
#include <gtest/gtest.h>

#include <functional>

#include "payload/Texts.h"
#include "standins/chunks/ChunkFile.h"
#include "tests/support/Environment.h"
#include "tests/support/InstallerRun.h"
#include "tests/support/Installers.h"
#include "tests/support/Logs.h"
#include "tests/support/Projects.h"
#include "tests/support/RecordFields.h"
#include "tests/support/Screenshot.h"
#include "tests/support/StubDriver.h"
#include "tests/support/SystemState.h"
#include "tests/support/TempDir.h"

namespace standalone_e2e {

using testing_support::Arch;
using testing_support::DialogSeen;
using testing_support::kRunMs;
using testing_support::kRunMsI686;
using testing_support::Field;
using testing_support::ScopedEnvironment;
using testing_support::StandaloneSettings;
using testing_support::StubDriver;

constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vandrel";
constexpr char kViewerKey[] = "SOFTWARE\\Morvane\\Vandrel Viewers\\2.00.000\\";
constexpr char kDone[] =
    "Installation successfully completed!\r\nYou are able to find the installed program in the Start menu.";
enum { kInstall = 1, kPathEdit = 1000, kBrowse = 1001, kCancel = 1002, kFolderGroup = 1004, kFolderPrompt = 1005 };

// The options dialog's controls that show the installer's words, by id.
struct ControlWords {
  int control;
  texts::Id text;
};
constexpr ControlWords kOptionsWords[] = {{kInstall, texts::Id::kButtonInstall},
                                          {kBrowse, texts::Id::kButtonBrowse},
                                          {kCancel, texts::Id::kButtonCancel},
                                          {kFolderGroup, texts::Id::kFolderGroup},
                                          {kFolderPrompt, texts::Id::kFolderPrompt}};

// A licence's item as the documents say it is stored: UTF-16LE ending with
// its NUL.
inline packager::Bytes LicenceItem(const std::string& utf8) {
  std::wstring wide(utf8.size() + 1, L'\0');
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(wide.data());
  return packager::Bytes(bytes, bytes + 2 * (length > 0 ? length : 1));
}

inline std::string Text(const std::vector<uint8_t>& data) {
  std::string text(data.begin(), data.end());
  return text.substr(0, text.find('\0'));
}

class StandaloneTest : public ::testing::Test {
 public:
  StandaloneTest()
      : log_(dir_.File("calls.log")),
        engineLog_("VDL_ENGINE_LOG", log_.c_str()),
        viewerLog_("VDL_VIEWER_LOG", log_.c_str()),
        uninstallLog_("VDL_UNINSTALL_LOG", log_.c_str()),
        setupLog_(dir_.File("setup.log")) {
    static int sequence = 0;
    menu_ = "VdlTest" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++sequence);
    settings_.installPath = dir_.File("Apps\\Vandrel Tours\\Harbour");
    settings_.shortcutName = "\\" + menu_ + "\\Tour";
    settings_.projectName = "Harbour " + menu_;
  }

  ~StandaloneTest() override { ForgetInstallation(); }

  // What an installation left outside its folder (links, registry keys, the
  // screen saver) goes: the next run installs as on a machine that never had it.
  void ForgetInstallation() {
    testing_support::RemoveTree(Menu());
    for (bool view32 : {false, true}) {
      testing_support::DeleteMachineKey(kUninstallKey + settings_.projectName, view32);
      testing_support::DeleteMachineKey(kViewerKey + settings_.projectName, view32);
      DeleteFileA((testing_support::SystemFolder(view32) + "\\" + settings_.projectName + ".scr").c_str());
    }
  }

  // Writes the installer and starts it; the options dialog is up on return.
  DialogSeen Start(Arch arch = Arch::kX64, DWORD timeoutMs = kRunMs) {
    WriteSetup(arch);
    EXPECT_TRUE(driver_.Start(dir_.File("setup.exe")));
    return driver_.WaitForDialog(timeoutMs);
  }

  // The installer of the project as set up, as "setup.exe" in the test's folder.
  void WriteSetup(Arch arch = Arch::kX64) {
    view32_ = testing_support::Resolve(arch) == Arch::kI686;
    std::string stub = !stub_.empty()       ? stub_
                       : arch == Arch::kX64 ? testing_support::StubPath()
                                            : testing_support::StubPathI686();
    packager::PayloadBuilder project = testing_support::StandaloneProject(arch, settings_);
    if (alterProject_) alterProject_(project);
    packager::Bytes payload = project.Build(static_cast<uint32_t>(testing_support::ReadBytes(stub).size()));
    if (alterPayload_) alterPayload_(payload);
    EXPECT_TRUE(testing_support::WriteInstaller(dir_.File("setup.exe"), stub, payload));
  }

  // Starts the installer, accepts the options dialog; the boxes after it,
  // answered with OK.
  std::vector<DialogSeen> InstallAll(Arch arch = Arch::kX64, DWORD timeoutMs = kRunMs) {
    DialogSeen options = Start(arch, timeoutMs);
    EXPECT_NE(nullptr, options.window);
    if (options.window == nullptr) return {};
    return InstallToEnd(options.window, timeoutMs);
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
    std::vector<std::string> texts;
    for (const DialogSeen& box : boxes) texts.push_back(box.text);
    testing_support::ExpectExitCodeMatches(driver_.ExitCode(), texts);
    return boxes;
  }

  // Starts the installer, expects the DirectX warning with this text before
  // the options dialog, and installs to the end; the boxes after the dialog.
  std::vector<DialogSeen> InstallAfterWarning(const std::string& warningText) {
    DialogSeen warning = Start();
    EXPECT_NE(nullptr, warning.window);
    if (warning.window == nullptr) return {};
    EXPECT_EQ(warningText, warning.text);
    EXPECT_EQ(settings_.projectName, warning.caption);
    EXPECT_TRUE(driver_.Press(warning.window, IDOK));
    DialogSeen options = driver_.WaitForDialog(kRunMs);
    EXPECT_NE(nullptr, options.window);
    if (options.window == nullptr) return {};
    return InstallToEnd(options.window);
  }

  // Runs the installer with these arguments and "/LOG=" to its end; fails
  // the test on any window it shows. The exit code.
  DWORD RunSilently(const std::string& arguments) {
    WriteSetup();
    EXPECT_TRUE(driver_.Start(dir_.File("setup.exe"), "/LOG=\"" + setupLog_ + "\" " + arguments));
    for (DWORD waited = 0; driver_.Running() && waited < kRunMs; waited += 20) {
      for (HWND window : driver_.Windows()) {
        EXPECT_FALSE(IsWindowVisible(window)) << "a window: " << StubDriver::WindowText(window);
      }
      Sleep(20);
    }
    EXPECT_TRUE(driver_.WaitForExit(5000));
    return driver_.ExitCode();
  }

  // Cancel on a dialog or box: the run ends as cancelled, code 2, with
  // neither the installation folder nor the uninstall entry made.
  void CancelWritingNothing(HWND window) {
    ASSERT_TRUE(driver_.Press(window, IDCANCEL));
    ASSERT_TRUE(driver_.WaitForExit(kRunMs));
    EXPECT_EQ(2u, driver_.ExitCode());
    EXPECT_FALSE(testing_support::FileExists(Install()));
    EXPECT_FALSE(testing_support::MachineKeyExists(kUninstallKey + settings_.projectName, view32_));
  }

  bool Logged(const std::string& line) const { return testing_support::HasLine(setupLog_, line); }

  std::string Install() const { return settings_.installPath; }
  // The chunks of a record file in the installation folder; none when it
  // cannot be read.
  std::vector<chunks::Chunk> Record(const std::string& name) const {
    std::vector<chunks::Chunk> record;
    chunks::ReadChunkFileFromPath(Install() + "\\" + name, &record);
    return record;
  }
  // The texts of the record's chunks of this tag ("UNFN", "UNDN"), in order.
  std::vector<std::string> Recorded(const std::string& tag) const {
    std::vector<std::string> texts;
    for (const chunks::Chunk& chunk : Record("uninstall.nfo")) {
      if (chunk.tag == tag) texts.push_back(Text(chunk.data));
    }
    return texts;
  }
  std::string Menu() const { return testing_support::ProgramsFolder() + "\\" + menu_; }

  testing_support::TempDir dir_;
  std::string log_;
  ScopedEnvironment engineLog_, viewerLog_, uninstallLog_;
  std::string setupLog_;
  std::string menu_;
  StandaloneSettings settings_;
  // Changes the project before it is written, when set.
  std::function<void(packager::PayloadBuilder&)> alterProject_;
  // Changes the built payload (damage in transit), when set.
  std::function<void(packager::Bytes&)> alterPayload_;
  // Another build of the stub than the machine's release stub, when set.
  std::string stub_;
  StubDriver driver_;
  // A 32-bit stub sees the registry and the system folder of 32-bit programs.
  bool view32_ = false;
};

}  // namespace standalone_e2e
