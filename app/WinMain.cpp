#include <windows.h>

#include "app/InstallerApp.h"
#include "app/MainWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  app::InstallerApp application;
  app::RegisterMainWindowClass(instance);
  app::CreateMainWindow(instance);
  application.SetHost(instance, app::g_mainWindow);
  application.Run();
  // Every run ends with exit code 0, whatever happened.
  return 0;
}
