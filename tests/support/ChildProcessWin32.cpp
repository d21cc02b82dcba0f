#include <windows.h>

#include "platform/ScopedHandle.h"
#include "tests/support/ChildProcess.h"

namespace testing_support {

ChildOutcome RunCapturing(const std::string& commandLine) {
  ChildOutcome outcome = {-1, ""};
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return outcome;
  platform::ScopedFile reader(readEnd);
  platform::ScopedFile writer(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process = {};
  std::string command = commandLine;
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    return outcome;
  }
  platform::ScopedKernelObject processHandle(process.hProcess);
  platform::ScopedKernelObject thread(process.hThread);
  // Only the child holds the write end now: reading ends when it does.
  writer.Reset();
  char buffer[512];
  DWORD got = 0;
  while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    for (DWORD i = 0; i < got; ++i) {
      if (buffer[i] != '\r') outcome.out += buffer[i];
    }
  }
  DWORD code = 0;
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &code)) {
    outcome.status = static_cast<int>(code);
  }
  return outcome;
}

}  // namespace testing_support
