#pragma once
#include <stdint.h>
#include <windows.h>

#include "app/CommandLine.h"
#include "payload/PayloadReader.h"

namespace app {

// Reads the project type from the payload and runs the one flow it selects.
class InstallerApp {
 public:
  InstallerApp() {}
  virtual ~InstallerApp();
  InstallerApp(const InstallerApp&) = delete;
  InstallerApp& operator=(const InstallerApp&) = delete;

  virtual void Run();
  virtual void SetHost(HINSTANCE instance, HWND mainWindow);
  virtual bool ReadSetting(const char* name, void* buffer, int32_t count);
  // The switches the flows follow; none unless set.
  void SetCommandLine(const CommandLine& line) { line_ = line; }
  // The run's outcome for the process's exit code, once Run has returned.
  uint32_t ExitCode() const { return exitCode_; }
  virtual void RunInPlace();
  virtual void Standalone();
  virtual void ScreenSaver();
  virtual void WinampPlugin();

 private:
  // The payload opened, a missing one told and the texts of the user's
  // language loaded: once, at the top of the run, before anything is shown.
  void OpenPayload();
  // The reader a flow takes over; null once taken.
  payload::PayloadReader* TakeReader();

  payload::PayloadReader* reader_ = nullptr;
  HINSTANCE instance_ = nullptr;
  HWND mainWindow_ = nullptr;
  CommandLine line_ = {{false, nullptr}, L"", L""};
  uint32_t exitCode_ = 0;
};

}  // namespace app
