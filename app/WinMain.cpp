#include <windows.h>

#include "app/InstallerApp.h"
#include "app/MainWindow.h"
#include "platform/DllSearch.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
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
