#pragma once
#include <stdint.h>
#include <windows.h>

namespace app {

// Reads the project type from the payload and runs the one flow it selects.
class InstallerApp {
 public:
  InstallerApp() {}
  virtual ~InstallerApp() {}
  InstallerApp(const InstallerApp&) = delete;
  InstallerApp& operator=(const InstallerApp&) = delete;

  virtual void Run();
  virtual void SetHost(HINSTANCE instance, HWND mainWindow);
  virtual bool ReadSetting(const char* name, void* buffer, int32_t count);
  virtual void RunInPlace();
  virtual void Standalone();
  virtual void ScreenSaver();
  virtual void WinampPlugin();

 private:
  HINSTANCE instance_ = nullptr;
  HWND mainWindow_ = nullptr;
};

}  // namespace app
