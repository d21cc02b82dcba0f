// A stand-in for the uninstaller that installations leave behind. Started with
// no arguments it hands over to a temporary copy of itself, because a running
// program's file cannot be deleted; the copy then removes what the folder's
// "uninstall.nfo" records.
//   (none)                         hand over to %TEMP%\VDLUnInst-<pid>.exe
//   --from <folder> [--wait <pid>] the copy: wait for <pid>, work on <folder>
//   --here                         work on its own folder, no copy
//   VDL_UNINSTALL_LOG              file to append its lines to
#include <windows.h>

#include <string>
#include <vector>

#include "standins/uninstaller/CommandLine.h"
#include "standins/uninstaller/SelfCopy.h"
#include "standins/uninstaller/Uninstall.h"
#include "standins/uninstaller/UninstallLog.h"

namespace {

using namespace uninstaller;

// A root such as "C:\" keeps its backslash; other folders lose a trailing one.
std::string TrimFolder(std::string folder) {
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

int HandOver() {
  std::string folder = FolderOf(OwnProgramPath());
  if (folder.empty() || !StartTemporaryCopy(folder)) {
    LogLine("Uninstall refused cannot start a temporary copy for " + folder);
    return kExitRefused;
  }
  return kExitDone;
}

// "done" follows a refusal too, so that a waiting test never waits in vain.
int Work(const std::string& folder) {
  int code = UninstallFolder(TrimFolder(folder));
  LogLine("Uninstall done");
  return code;
}

int WorkAsCopy(const Options& options) {
  if (options.waitForPid != 0) WaitForProcessEnd(options.waitForPid);
  int code = Work(options.folder);
  ScheduleOwnDeletion();
  return code;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::string> arguments = SplitCommandLine(GetCommandLineA());
  if (!arguments.empty()) arguments.erase(arguments.begin());
  Options options;
  if (!ParseOptions(arguments, &options)) {
    LogLine(std::string("Uninstall refused bad command line: ") + GetCommandLineA());
    return kExitBadCommandLine;
  }
  switch (options.mode) {
    case Mode::kHandOver:
      return HandOver();
    case Mode::kHere:
      return Work(FolderOf(OwnProgramPath()));
    case Mode::kFrom:
      return WorkAsCopy(options);
  }
  return kExitBadCommandLine;
}
