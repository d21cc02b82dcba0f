// Project type 1: show the project from a temporary folder, then remove it.
#include "installer/Installer.h"
#include "platform/ShutdownBlock.h"

namespace installer {

bool Installer::RunInPlaceFlow() {
  uint8_t checkDx8 = 0;
  if (!ReadSetting(payload::kCheckDx8, &checkDx8)) return false;
  if (checkDx8 != 0 && !HasDirectX81()) {
    exitCode = kExitLacking;
    return Stop(FailureKind::kNoDirectXRun);
  }
  if (!AcceptLicence() || !CreateTempWorkDir()) return false;
  // The working folder is empty yet: one that lacks the room goes again.
  if (!HasRoomHere(workFolder, SpaceNeeded(payload::kSpaceInFolder))) {
    RemoveDirectoryA(workFolder);
    return false;
  }
  platform::BlockShutdown(parentWindow);
  // The viewer is started by a relative command line from here.
  SetCurrentDirectoryA(workFolder);
  if (!ExtractViewer()) return false;
  if (!ExtractEngineFiles() || !StartEngineOrReport()) return false;
  if (!ExtractContent()) return false;
  ReleaseEngine();
  platform::AllowShutdown();
  ReleaseItemMemory();
  bool ran = RunViewer(1);
  // Told while the extracted files are still there, where the user can
  // look for why the viewer did not start.
  if (!ran) ReportFailure();
  RemoveExtractedFiles();
  return ran;
}

}  // namespace installer
