// Project type 2: install into a folder the user chooses, with Start-menu
// shortcuts, an uninstall record and an uninstall entry.
#include <shlobj.h>
#include <string.h>

#include "installer/Installer.h"
#include "installer/ProgressSteps.h"
#include "payload/EngineFiles.h"
#include "payload/RuntimeFiles.h"
#include "platform/AnsiChars.h"
#include "platform/AnsiFolder.h"
#include "platform/ShutdownBlock.h"
#include "platform/Text.h"

namespace installer {

namespace {

// The program files this flow extracts, from the table vpack checks
// installers against.
constexpr const char* kViewer = payload::RuntimeFile(payload::kStandalone, 0);
constexpr const char* kUninstaller = payload::RuntimeFile(payload::kStandalone, 1);
static_assert(payload::FindRuntimeFiles(payload::kStandalone)->count == 2, "the flow extracts every file of its table");
constexpr payload::RecordShape kRecord = payload::RecordOf(payload::kStandalone);

// The settings the flow reads before anything is written.
// Zeroed where it is declared, not by member initializers: those would make
// the compiler keep a zero image of the whole struct in the stub's data.
struct StandaloneSettings {
  uint8_t checkDx8;
  uint8_t runAfterInstall;
  char installPath[kTextFieldSize + 1];
  char shortcutName[kTextFieldSize + 1];
  char projectName[kTextFieldSize + 1];
};

// The Programs folder of the Start menu, or false when the shell has none.
// One that has no ANSI form is given as an empty text, its name in wide
// (MAX_PATH characters) for the report.
bool ProgramsFolder(HWND owner, char* folder, wchar_t* wide) {
  LPITEMIDLIST location = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_PROGRAMS, &location))) return false;
  bool found = SHGetPathFromIDListW(location, wide) != FALSE;
  CoTaskMemFree(location);
  if (found && !platform::AnsiFolder(wide, folder, kPathSize)) folder[0] = '\0';
  return found;
}

// The project's own folder below Programs: the first on the way to its
// links, none when they lie in Programs itself.
void MenuFolder(const char* link, size_t programsLength, char* folder) {
  folder[0] = '\0';
  const char* name = link + programsLength;
  while (text::IsSeparatorAt(name)) ++name;
  for (const char* c = name; *c != '\0'; c += text::CharBytes(c)) {
    if (text::IsSeparatorAt(c)) {
      if (c > name) text::CopyAtMost(folder, link, static_cast<size_t>(c - link));
      return;
    }
  }
}

}  // namespace

bool Installer::InstallStandaloneFlow() {
  StandaloneSettings settings = {};
  const SettingRead flags[] = {{payload::kCheckDx8, &settings.checkDx8}, {payload::kRunAfterInstall, &settings.runAfterInstall}};
  if (!ReadSettings(flags, 2)) return false;
  if (settings.checkDx8 != 0 && !HasDirectX81() &&
      ui::Tell(messages::Id::kAskDirectX, nullptr) != message::kAnswerYes) {
    exitCode = kExitLacking;
    return Told();
  }
  const SettingRead texts[] = {{payload::kInstallPath, settings.installPath},
                               {payload::kShortCutName, settings.shortcutName},
                               {payload::kProjectName, settings.projectName}};
  if (!ReadSettings(texts, 3) || !AcceptOptions(settings.projectName, settings.installPath, true)) return false;
  if (!ExtractViewer()) return false;
  bool linksMade = false;
  if (!InstallStandaloneContent(settings.shortcutName, settings.projectName, &linksMade)) return false;
  // Silent, nothing starts that nobody is there to see.
  if (settings.runAfterInstall != 0 && !unattended.silent && HasDirectX81()) {
    SetCurrentDirectoryA(workFolder);
    return RunViewer(0);
  } else {
    // The Start menu is promised only where the links are there.
    ui::Tell(linksMade ? messages::Id::kDoneStartMenu : messages::Id::kDone, settings.projectName);
  }
  return true;
}

// From the engine files to the uninstall entry, with the progress window open.
bool Installer::InstallStandaloneContent(const char* shortcutName, const char* projectName, bool* linksMade) {
  SetProgressIfOpen(progress::kEngineFiles);
  if (!ExtractEngineFiles()) return false;
  SetProgressIfOpen(progress::kStartMenu);
  *linksMade = CreateStartMenuEntries(shortcutName);
  SetProgressIfOpen(progress::kEngineStarted);
  if (!StartEngineOrReport()) return false;
  // An installation that cannot be uninstalled is no success.
  if (!ExtractItem(kUninstaller, 1) || !ExtractContent() || !WriteRecordFiles(kRecord, projectName)) return false;
  ReleaseEngine();
  SetProgressIfOpen(progress::kRecordsDone);
  delete progressWindow;
  progressWindow = nullptr;
  WriteUninstallRegistryKey();
  completed = true;
  platform::AllowShutdown();
  return true;
}

// The project and uninstall links below the Programs folder. A shell
// without one, or with one that cannot be named (reported), gets no links;
// the installation goes on all the same. True when the project's link is
// there, which the success message sends the user to.
bool Installer::CreateStartMenuEntries(const char* shortcutName) {
  char programs[kPathSize];
  wchar_t named[MAX_PATH];
  if (!ProgramsFolder(parentWindow, programs, named)) return false;
  if (programs[0] == '\0') {
    TellUnusableFolder(named);
    return false;
  }
  char link[kPathSize];
  char uninstallLink[kPathSize];
  char target[kPathSize];
  char uninstallTarget[kPathSize];
  // Paths that do not fit are refused as a whole rather than cut.
  bool fits = text::Join(link, kPathSize, programs, shortcutName, ".lnk") &&
              text::Join(uninstallLink, kPathSize, programs, shortcutName, " Uninstall.lnk") &&
              text::Join(target, kPathSize, workFolder, "\\", kViewer) &&
              text::Join(uninstallTarget, kPathSize, workFolder, "\\", kUninstaller);
  if (!fits) return false;
  MenuFolder(link, strlen(programs), menuFolder);
  CreateMissingFolders(link);
  // Links of an earlier installation are replaced, and stay if this one fails.
  bool linkNew = GetFileAttributesA(link) == INVALID_FILE_ATTRIBUTES;
  bool uninstallLinkNew = GetFileAttributesA(uninstallLink) == INVALID_FILE_ATTRIBUTES;
  CreateShortcut(target, link, "Vandrel Project Link", payload::kStartFileName);
  Record(createdFiles, link, linkNew);
  if (linkNew) NoteNew(link);
  CreateShortcut(uninstallTarget, uninstallLink, "Vandrel Uninstall Link", nullptr);
  Record(createdFiles, uninstallLink, uninstallLinkNew);
  if (uninstallLinkNew) NoteNew(uninstallLink);
  return GetFileAttributesA(link) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace installer
