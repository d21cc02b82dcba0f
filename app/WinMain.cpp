#include <windows.h>

#include "app/InstallerApp.h"
#include "app/MainWindow.h"
#include "platform/DllSearch.h"
#ifdef VDL_FAULT_SEAM
#include "tests/seam/FaultSeam.h"
#endif

namespace {

int RunStub(HINSTANCE instance) {
#ifdef VDL_FAULT_SEAM
  // The test variant only: its fallible system calls go through the seam.
  faults::InstallSeam(instance);
#endif
  // Before anything loads a DLL by name. The stub imports only libraries the
  // system always takes from its own folder; the common controls, which it
  // does not, are loaded later by full path.
  platform::RestrictDllSearch();
  app::InstallerApp application;
  app::RegisterMainWindowClass(instance);
  app::CreateMainWindow(instance);
  application.SetHost(instance, app::g_mainWindow);
  application.Run();
  // Every run ends with exit code 0, whatever happened.
  return 0;
}

}  // namespace

// The process starts here, without the C runtime's start-up code: the stub
// has no command-line arguments to split, no static constructors and no
// threads, and the runtime's start-up would be about a sixth of its size. The
// C library functions it calls come from msvcrt.dll, which sets itself up
// when it is loaded.
extern "C" void WinMainCRTStartup() { ExitProcess(static_cast<UINT>(RunStub(GetModuleHandleA(nullptr)))); }
