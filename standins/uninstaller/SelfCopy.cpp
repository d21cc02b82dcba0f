#include "standins/uninstaller/SelfCopy.h"

#include <windows.h>

#include "standins/uninstaller/CommandLine.h"
#include "standins/uninstaller/UninstallLog.h"

namespace uninstaller {
namespace {

constexpr DWORD kWaitLimitMs = 30000;

std::string TemporaryFolder() {
  char folder[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof(folder), folder);
  return length > 0 && length < sizeof(folder) ? std::string(folder, length) : std::string();
}

bool StartProgram(const std::string& program, const std::string& arguments, const std::string& workFolder) {
  std::string line = QuoteArgument(program) + " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  // Started in the temporary folder: a current folder inside the
  // installation would keep that folder from being removed.
  if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                      workFolder.empty() ? nullptr : workFolder.c_str(), &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace

std::string OwnProgramPath() {
  char path[MAX_PATH * 2];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  return length > 0 && length < sizeof(path) ? std::string(path, length) : std::string();
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool StartTemporaryCopy(const std::string& folder) {
  std::string self = OwnProgramPath();
  std::string temporary = TemporaryFolder();
  if (self.empty() || temporary.empty()) return false;
  DWORD pid = GetCurrentProcessId();
  std::string copy = temporary + "VDLUnInst-" + std::to_string(pid) + ".exe";
  if (!CopyFileA(self.c_str(), copy.c_str(), FALSE)) return false;
  // Logged before the start so that it comes ahead of everything the copy logs.
  LogLine("Uninstall copy " + copy);
  std::string arguments = "--from " + QuoteArgument(folder) + " --wait " + std::to_string(pid);
  if (StartProgram(copy, arguments, temporary)) return true;
  DeleteFileA(copy.c_str());
  return false;
}

void WaitForProcessEnd(uint32_t pid) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  // Not there to open: it has ended already.
  if (process == nullptr) return;
  WaitForSingleObject(process, kWaitLimitMs);
  CloseHandle(process);
}

void ScheduleOwnDeletion() {
  std::string self = OwnProgramPath();
  if (!self.empty()) MoveFileExA(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace uninstaller
