// Project type 5: install the project as a screen saver.
#include "installer/Installer.h"
#include "installer/ProgressSteps.h"
#include "payload/RuntimeFiles.h"
#include "platform/AnsiFolder.h"
#include "platform/Text.h"

namespace installer {

namespace {

// The program files this flow extracts, from the table vpack checks
// installers against.
constexpr const char* kUninstaller = payload::RuntimeFile(payload::kScreenSaver, 0);
constexpr const char* kSaver = payload::RuntimeFile(payload::kScreenSaver, 1);
static_assert(payload::FindRuntimeFiles(payload::kScreenSaver)->count == 2, "the flow extracts every file of its table");
constexpr payload::RecordShape kRecord = payload::RecordOf(payload::kScreenSaver);

}  // namespace

bool Installer::InstallScreenSaverFlow() {
  uint8_t checkDx8 = 0;
  uint8_t runAfterInstall = 0;
  char installPath[kTextFieldSize + 1] = {};
  char projectName[kTextFieldSize + 1] = {};
  const SettingRead reads[] = {{payload::kCheckDx8, &checkDx8},
                               {payload::kRunAfterInstall, &runAfterInstall},
                               {payload::kInstallPath, installPath},
                               {payload::kProjectName, projectName}};
  if (!ReadSettings(reads, 4)) return false;
  if (checkDx8 != 0 && !HasDirectX81() && !WarnWithoutDirectX(messages::Id::kNoDirectXSaver, projectName)) return false;
  if (!AcceptOptions(projectName, installPath, true) || !SystemFolderHasRoom()) return false;
  if (!ExtractEngineFiles() || !StartEngineOrReport()) return false;
  SetProgressIfOpen(progress::kEngineFiles);
  // An installation without its uninstaller or its screen saver is no
  // success.
  if (!ExtractItem(kUninstaller, 1) || !CopyScreenSaverToSystem()) return false;
  SetProgressIfOpen(progress::kProgramCopied);
  if (!ExtractContent() || !WriteRecordFiles(kRecord, projectName)) return false;
  FinishInstallation(projectName, true);
  return true;
}

bool Installer::CopyScreenSaverToSystem() {
  if (!ExtractItem(kSaver, 1)) return false;
  char system[kPathSize];
  char target[kPathSize];
  wchar_t wideSystem[kPathSize];
  UINT length = GetSystemDirectoryW(wideSystem, kPathSize - 1);
  if (length == 0 || length >= kPathSize - 1) wideSystem[0] = 0;
  char name[kTextFieldSize + 1];
  if (!ReadProjectName(name)) return false;
  // A system folder that cannot be named (reported by name) and a target
  // that does not fit are reported as failed copies; the target is never cut
  // and never built without its folder.
  bool named = platform::AnsiFolder(wideSystem, system, kPathSize);
  if (!named) {
    TellUnusableFolder(wideSystem);
    system[0] = '\0';
  }
  if (!text::Join(target, kPathSize, system, "\\", name) || !text::Append(target, kPathSize, ".scr") || !named) {
    target[kPathSize - 1] = '\0';
    NoteFailure(FailureKind::kSaverNotCopied, target, named ? ERROR_FILENAME_EXCED_RANGE : ERROR_PATH_NOT_FOUND);
    return false;
  }
  // A failed copy leaves an earlier installation's saver as it was, and its
  // uninstall record with it: the installation stops before writing a new one.
  return CopyModule(kSaver, target, FailureKind::kSaverNotCopied);
}

// The system folder's volume, asked for the saver's copy before the
// installation writes anything.
bool Installer::SystemFolderHasRoom() {
  char system[kPathSize];
  UINT length = GetSystemDirectoryA(system, kPathSize - 1);
  return length == 0 || length >= kPathSize - 1 || HasRoomHere(system, SpaceNeeded(payload::kSpaceForModule));
}

}  // namespace installer
