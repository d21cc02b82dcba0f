#include "standins/engine/EngineWindow.h"

#include <string>

#include "standins/engine/CallLog.h"
#include "standins/engine/EngineSwitches.h"

namespace standin {
namespace {

constexpr char kClassName[] = "StandInEngineWindow";
constexpr UINT_PTR kTimerId = 1;

LRESULT CALLBACK EngineWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) LogCall("Engine window timer");
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND OpenEngineWindow() {
  if (EngineVariable("VDL_ENGINE_WINDOW").empty()) return nullptr;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = EngineWindowProc;
  windowClass.hInstance = GetModuleHandleA("Tessaron.dll");
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
  if (window != nullptr) SetTimer(window, kTimerId, 10, nullptr);
  LogCall(std::string("Engine window ") + (window != nullptr ? "open" : "failed"));
  return window;
}

void CloseEngineWindow(HWND window) {
  if (window == nullptr) return;
  KillTimer(window, kTimerId);
  DestroyWindow(window);
  UnregisterClassA(kClassName, GetModuleHandleA("Tessaron.dll"));
}

}  // namespace standin
