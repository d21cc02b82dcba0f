#include "platform/WindowThread.h"

#include "platform/ScopedHandle.h"

namespace platform {
namespace {

WindowMaker g_make;
HWND g_window;
// Set once the window is made or could not be. Once the thread runs, it
// lasts as long as the process, as the thread does.
HANDLE g_made;

DWORD WINAPI MakeAndAnswer(void* instance) {
  g_window = g_make(static_cast<HINSTANCE>(instance));
  SetEvent(g_made);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

}  // namespace

bool StartWindowThread(WindowMaker make, HINSTANCE instance) {
  g_make = make;
  g_made = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (g_made == nullptr) return false;
  ScopedKernelObject thread(CreateThread(nullptr, 0, MakeAndAnswer, instance, 0, nullptr));
  if (thread.Valid()) return true;
  CloseHandle(g_made);
  g_made = nullptr;
  return false;
}

HWND WindowFromThread() {
  if (g_made == nullptr) return nullptr;
  WaitForSingleObject(g_made, INFINITE);
  return g_window;
}

}  // namespace platform
