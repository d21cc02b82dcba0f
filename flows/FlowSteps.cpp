// Steps that every installing flow takes the same way.
#include "installer/Installer.h"
#include "installer/ProgressSteps.h"
#include "payload/RuntimeFiles.h"
#include "platform/AnsiFolder.h"
#include "platform/Log.h"
#include "platform/ShutdownBlock.h"
#include "platform/Text.h"
#include "ui/OptionsDialog.h"

namespace installer {

// A viewer that the payload holds but that cannot be written (one still
// running from an earlier installation, a folder that cannot be written, a
// full disk) is reported as such: "not found" would send the user looking for
// a file that is there.
bool Installer::ExtractViewer() {
  bool empty = false;
  viewerInstalled = ExtractItem(payload::kViewerName, 1, &empty);
  if (viewerInstalled) return true;
  // An empty viewer is no viewer: Windows cannot start it.
  if (empty || reader == nullptr || !reader->Contains(payload::kViewerName, nullptr)) {
    return Stop(FailureKind::kViewerNotFound);
  }
  return false;
}

bool Installer::GivenFolder(char* folder) {
  return platform::ConvertExactly(unattended.folder, folder, kGivenFolderSize);
}

bool Installer::AcceptOptions(const char* projectName, const char* initialPath, bool takesGivenFolder) {
  char given[kGivenFolderSize];
  char earlier[kPathSize];
  char again[kPathSize];
  if (takesGivenFolder && unattended.folder != nullptr) {
    // One with no exact form is refused as the dialog refuses it.
    initialPath = GivenFolder(given) ? given : nullptr;
  } else if (EarlierFolder(projectName, earlier)) {
    // Installed before: the same folder again, so that the uninstall entry
    // (one per project name) goes on naming the one installation.
    initialPath = earlier;
  }
  if (!AcceptLicence()) return false;
  // A disk short of room brings the dialog back on Retry, the folder as
  // chosen, for another folder or the same once room is made.
  ui::OptionsDialog dialog;
  const wchar_t* typed = unattended.folder;
  const char* chosen = nullptr;
  for (bool retry = true; retry;) {
    if (!ChooseFolder(dialog, projectName, initialPath, typed, &chosen)) return false;
    if (HasRoom(chosen, SpaceNeeded(payload::kSpaceInFolder), messages::Id::kNoSpace, &retry)) break;
    if (!retry) return false;
    text::CopyAtMost(again, chosen, sizeof(again) - 1);
    initialPath = again;
    typed = nullptr;
  }
  if (!unattended.silent) progressWindow = new ui::ProgressWindow;
  platform::BlockShutdown(parentWindow);
  if (progressWindow != nullptr) {
    progressWindow->Create(instance, parentWindow);
    progressWindow->SetProgress(progress::kOpened);
  }
  text::CopyAtMost(workFolder, chosen, sizeof(workFolder) - 1);
  installing = true;
  logfile::Line("Installing into", workFolder);
  // A folder that does not exist yet is made by the first extraction.
  SetCurrentDirectoryA(workFolder);
  return true;
}

bool Installer::ChooseFolder(ui::OptionsDialog& dialog, const char* projectName, const char* initialPath,
                             const wchar_t* typed, const char** chosen) {
  if (unattended.silent) {
    // The dialog's own refusals, without the dialog.
    if (ui::RefusedFolder(initialPath, dialog.Caption())) return Told();
    *chosen = initialPath;
    return true;
  }
  dialog.SetProjectName(projectName);
  if (!dialog.Show(instance, parentWindow, initialPath, typed)) {
    if (dialog.ShowError() == 0) {
      exitCode = kExitCancelled;
      return Told();
    }
    NoteFailure(FailureKind::kNoOptions, nullptr, dialog.ShowError());
    return false;
  }
  *chosen = dialog.GetDirectory();
  return true;
}

bool Installer::WarnWithoutDirectX(messages::Id warning, const char* projectName) {
  // Silent, the warning goes to the log, and the run ends there.
  ui::Tell(warning, projectName);
  if (!unattended.silent) return true;
  exitCode = kExitLacking;
  return Told();
}

// An engine that cannot be loaded (a virus scanner took it from the folder,
// say) or that does not start would otherwise end the run without a word.
bool Installer::StartEngineOrReport() {
  if (StartEngine()) return true;
  NoteFailure(FailureKind::kNoEngine, nullptr, engineModule == nullptr ? GetLastError() : 0);
  return false;
}

bool Installer::CreateLoaderChannel() {
  loaderChannel = static_cast<engine::LoaderChannel*>(channelServices->CreateChannel(engine::kLoaderChannelId, 0, 0));
  if (loaderChannel != nullptr) return true;
  return Stop(FailureKind::kNoLoader);
}

// The engine's part of an installation, up to the records: channel and
// project files decoded through the loader channel.
bool Installer::ExtractContent() {
  return CreateLoaderChannel() && ExtractChannels() && ExtractProjectFiles();
}

// After the records: engine released, then the registry, progress at its end.
void Installer::FinishInstallation(const char* projectName, bool viewerKey) {
  ReleaseEngine();
  if (viewerKey) WriteViewerRegistryKey();
  WriteUninstallRegistryKey();
  completed = true;
  SetProgressIfOpen(progress::kRecordsDone);
  if (progressWindow != nullptr) progressWindow->Close();
  platform::AllowShutdown();
  ui::Tell(messages::Id::kDone, projectName);
}

}  // namespace installer
