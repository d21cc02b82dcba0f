#include "platform/ShutdownBlock.h"

namespace platform {
namespace {

HWND g_blockingWindow = nullptr;

// The reason calls exist from Windows Vista on; before, the answer alone
// holds the session.
FARPROC ReasonCall(const char* name) { return GetProcAddress(GetModuleHandleA("user32.dll"), name); }

}  // namespace

void BlockShutdown(HWND window) {
  if (window == nullptr || g_blockingWindow != nullptr) return;
  g_blockingWindow = window;
  auto create = reinterpret_cast<BOOL(WINAPI*)(HWND, LPCWSTR)>(ReasonCall("ShutdownBlockReasonCreate"));
  if (create != nullptr) create(window, L"Installing");
}

void AllowShutdown() {
  HWND window = g_blockingWindow;
  if (window == nullptr) return;
  g_blockingWindow = nullptr;
  auto destroy = reinterpret_cast<BOOL(WINAPI*)(HWND)>(ReasonCall("ShutdownBlockReasonDestroy"));
  if (destroy != nullptr) destroy(window);
}

bool ShutdownBlocked() { return g_blockingWindow != nullptr; }

}  // namespace platform
