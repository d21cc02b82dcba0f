// Project type 6: install the project as a Winamp 2.x visualisation plug-in
// or a Winamp 3 component.
#include "installer/Installer.h"
#include "installer/ProgressSteps.h"
#include "payload/RuntimeFiles.h"
#include "platform/AnsiFolder.h"
#include "platform/FolderBrowser.h"
#include "platform/Message.h"
#include "platform/ScopedHandle.h"
#include "platform/Text.h"
#include "ui/OptionsDialog.h"
#include "ui/TextTable.h"

namespace installer {

namespace {

// The program files this flow extracts, from the table vpack checks
// installers against.
constexpr const char* kUninstaller = payload::RuntimeFile(payload::kWinampPlugin, 0);
constexpr const char* kPlugin = payload::RuntimeFile(payload::kWinampPlugin, 1);
static_assert(payload::FindRuntimeFiles(payload::kWinampPlugin)->count == 2, "the flow extracts every file of its table");
constexpr payload::RecordShape kRecord = payload::RecordOf(payload::kWinampPlugin);

constexpr DWORD kCommandSize = 513;

// The player's command as registered, terminated within the buffer whatever
// the registry left there; false when it cannot be read. Read in UTF-16: the
// player may sit below a folder named outside the code page.
bool ReadPlayerCommand(uint8_t winamp3, wchar_t* command) {
  const char* keyName = winamp3 != 0 ? "Applications\\Studio.exe\\shell\\open\\command"
                                     : "Applications\\Winamp.exe\\shell\\open\\command";
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName, 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
  platform::ScopedRegistryKey key(raw);
  DWORD size = kCommandSize * sizeof(wchar_t);
  if (RegQueryValueExW(key.Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(command), &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  size /= sizeof(wchar_t);
  command[size < kCommandSize ? size : kCommandSize] = 0;
  return true;
}

// "\"C:\Apps\Winamp\winamp.exe\" \"%1\"" gives "C:\Apps\Winamp\": the quoted
// program's folder with its backslash; no backslash gives an empty folder.
void FolderFromCommand(const wchar_t* command, wchar_t* folder) {
  const wchar_t* start = command[0] != 0 ? command + 1 : command;
  size_t length = 0;
  while (start[length] != 0 && start[length] != L'"') ++length;
  size_t keep = 0;
  for (size_t i = 0; i < length; ++i) {
    if (start[i] == L'\\') keep = i + 1;
  }
  if (keep >= kPathSize) keep = 0;
  memcpy(folder, start, keep * sizeof(wchar_t));
  folder[keep] = 0;
}

}  // namespace

bool Installer::InstallWinampPluginFlow() {
  uint8_t checkDx8 = 0;
  uint8_t winamp3 = 0;
  char startupDirectory[kTextFieldSize + 1] = {};
  char projectName[kTextFieldSize + 1] = {};
  const SettingRead reads[] = {{payload::kCheckDx8, &checkDx8},
                               {payload::kStartupDirectory, startupDirectory},
                               {payload::kProjectName, projectName}};
  if (!ReadSettings(reads, 3)) return false;
  if (!ReadItem(payload::kWinampVersion.name, &winamp3, payload::kWinampVersion.size, nullptr)) {
    return Stop(FailureKind::kNoWinampVersion);
  }
  if (checkDx8 != 0 && !HasDirectX81() && !WarnWithoutDirectX(messages::Id::kNoDirectXPlugin, projectName)) {
    return false;
  }
  // Silent, nobody is asked for the player later: a machine without one
  // ends here, before anything is written.
  char player[kPathSize];
  if (unattended.silent && !FindPlayerFolder(winamp3, projectName, player)) return false;
  // The folder on the command line is the player's, below.
  if (!AcceptOptions(projectName, startupDirectory, false)) return false;
  if (!ExtractEngineFiles() || !StartEngineOrReport()) return false;
  SetProgressIfOpen(progress::kEngineFiles);
  // An installation without its uninstaller or its plug-in is no success.
  if (!ExtractItem(kUninstaller, 1) || !ExtractItem(kPlugin, 1)) return false;
  if (!unattended.silent && !FindPlayerFolder(winamp3, projectName, player)) return false;
  if (!CopyPlugin(player, winamp3, projectName)) return false;
  SetProgressIfOpen(progress::kProgramCopied);
  if (!ExtractContent() || !WriteRecordFiles(kRecord, projectName)) return false;
  FinishInstallation(projectName, true);
  return true;
}

// From the registry, or from the user; false when the user declines or
// cancels the browser, so that no target is built from no folder, and for a
// chosen folder that cannot be named (reported).
bool Installer::FindPlayerFolder(uint8_t winamp3, const char* projectName, char* folder) {
  wchar_t command[kCommandSize + 1];
  wchar_t wide[kPathSize];
  if (ReadPlayerCommand(winamp3, command)) {
    FolderFromCommand(command, wide);
    // A player's folder that cannot be named (reported) is as good as none
    // found: the user may still choose one.
    if (platform::AnsiFolder(wide, folder, kPathSize)) return true;
    TellUnusableFolder(wide);
  }
  // Named on the command line, the player's folder is not asked for.
  if (unattended.folder != nullptr) {
    char given[kGivenFolderSize];
    wchar_t caption[kTextFieldSize + 1];
    ui::Widen(projectName, caption, kTextFieldSize + 1);
    if (ui::RefusedFolder(GivenFolder(given) ? given : nullptr, caption)) return Told();
    text::CopyAtMost(folder, given, kPathSize - 1);
    return true;
  }
  if (ui::Tell(winamp3 != 0 ? messages::Id::kAskWinamp3 : messages::Id::kAskWinamp2, projectName) !=
      message::kAnswerYes) {
    exitCode = kExitLacking;
    return Told();
  }
  wchar_t title[kTextFieldSize + 1];
  wchar_t named[MAX_PATH];
  ui::TextOf(texts::Id::kCaptionBrowsePlayer, title, kTextFieldSize + 1);
  platform::Browsed browsed = platform::BrowseForFolder(nullptr, title, folder, kPathSize, named);
  if (browsed == platform::Browsed::kChosen) return true;
  if (browsed == platform::Browsed::kCancelled) exitCode = kExitCancelled;
  ui::ReportBrowsed(browsed, named);
  return Told();
}

// A target that does not fit is refused, never cut. A failed copy leaves an
// earlier installation's plug-in as it was, and its uninstall record with it:
// the installation stops before writing a new one.
bool Installer::CopyPlugin(const char* player, uint8_t winamp3, const char* projectName) {
  char target[kPathSize];
  bool fits = winamp3 != 0 ? text::Join(target, kPathSize, player, "\\Wacs\\", projectName) &&
                                 text::Append(target, kPathSize, ".wac")
                           : text::Join(target, kPathSize, player, "\\Plugins\\vis_", projectName) &&
                                 text::Append(target, kPathSize, ".dll");
  if (!fits) {
    NoteFailure(FailureKind::kPluginNotCopied, nullptr, ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  // The player's folder is known only now where the user chose it; its
  // volume is asked before the plug-in goes there.
  return HasRoomHere(player, SpaceNeeded(payload::kSpaceForModule)) &&
         CopyModule(kPlugin, target, FailureKind::kPluginNotCopied);
}

}  // namespace installer
