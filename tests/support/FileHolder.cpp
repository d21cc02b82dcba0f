#include "tests/support/FileHolder.h"

#include "tests/support/Projects.h"

namespace testing_support {

FileHolder::FileHolder(const std::string& file, Mode mode, DWORD ms) : marker_(file + ".held") {
  std::string holder = Resolve(Arch::kX64) == Arch::kX64 ? VDL_HOLDER_X64 : VDL_HOLDER_I686;
  std::string command = "\"" + holder + "\" " + (mode == kImage ? "image" : "open") + " \"" + file + "\" " +
                        std::to_string(ms);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) return;
  CloseHandle(started.hThread);
  process_ = started.hProcess;
  // Held once the marker is there; a holder that ended first holds nothing.
  for (DWORD waited = 0; waited < 60000; waited += 20) {
    if (GetFileAttributesA(marker_.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    if (WaitForSingleObject(process_, 20) == WAIT_OBJECT_0) break;
  }
  Release();
}

void FileHolder::Release() {
  if (process_ == nullptr) return;
  DeleteFileA(marker_.c_str());
  if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
  CloseHandle(process_);
  process_ = nullptr;
}

}  // namespace testing_support
