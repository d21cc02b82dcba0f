#include "app/MainWindow.h"

#include "platform/ShutdownBlock.h"
#include "platform/Text.h"

namespace app {

char g_windowTitle[32];
char g_windowClass[32];
HWND g_mainWindow = nullptr;

namespace {

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  if (message == WM_QUERYENDSESSION) return platform::AnswerEndSession(window);
  // The hidden window is the engine's parent and lives as long as the run:
  // a close request (Alt+F4, the system menu, a program that closes windows)
  // would end the run from within whatever message box shows next.
  if (message == WM_CLOSE) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterMainWindowClass(HINSTANCE instance) {
  text::CopyAtMost(g_windowTitle, names::kMainWindowTitle, sizeof(g_windowTitle) - 1);
  text::CopyAtMost(g_windowClass, kWindowClassName, sizeof(g_windowClass) - 1);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(5));
  windowClass.lpszClassName = g_windowClass;
  RegisterClassExA(&windowClass);
}

}  // namespace

HWND MakeMainWindow(HINSTANCE instance) {
  RegisterMainWindowClass(instance);
  g_mainWindow = CreateWindowExA(0, g_windowClass, g_windowTitle, WS_OVERLAPPEDWINDOW, 0, 0, 25, 25,
                                 nullptr, nullptr, instance, nullptr);
  return g_mainWindow;
}

}  // namespace app
