// Starting the viewer on the project in the working folder.
#include "installer/Installer.h"
#include "payload/EngineFiles.h"
#include "payload/RuntimeFiles.h"
#include "platform/Log.h"
#include "platform/Message.h"
#include "platform/ScopedHandle.h"
#include "platform/Text.h"

namespace installer {

namespace {

constexpr DWORD kPollMs = 1000;

}  // namespace

bool Installer::RunViewer(uint8_t wait) {
  // The program is named by its full path: searched for by the command line
  // alone, a viewer of that name beside the installer (a downloads folder)
  // would be started instead of the one just extracted.
  char program[kPathSize];
  bool fits = text::Join(program, sizeof(program), workFolder, payload::kViewerInFolder);
  char commandLine[] = VDL_VIEWER_NAME " " VDL_START_FILE_NAME;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  logfile::Line("Starting", program);
  if (!fits ||
      !CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    NoteFailure(FailureKind::kViewerNotStarted, nullptr, fits ? GetLastError() : ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  platform::ScopedKernelObject processHandle(process.hProcess);
  platform::ScopedKernelObject threadHandle(process.hThread);
  if (wait == 0) return true;
  // Asked once a second, but woken the moment the viewer ends rather than at
  // the next whole second: the clean-up follows the viewer at once. The
  // process's own state is asked, not its exit code, which a viewer could end
  // with the value that means "still running".
  while (WaitForSingleObject(processHandle.Get(), kPollMs) == WAIT_TIMEOUT) {
  }
  return true;
}

}  // namespace installer
