#include "platform/ShutdownBlock.h"

namespace platform {
namespace {

// Set by the run, read by whichever thread answers a window.
volatile bool g_blocked = false;
// The window given the reason when the block started.
HWND g_reasonWindow = nullptr;

// The reason calls exist from Windows Vista on; before, the answer alone
// holds the session.
void* ReasonCall(const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name));
}

void GiveReason(HWND window, bool give) {
  if (give) {
    auto create = reinterpret_cast<BOOL(WINAPI*)(HWND, LPCWSTR)>(ReasonCall("ShutdownBlockReasonCreate"));
    if (create != nullptr) create(window, L"Installing");
    return;
  }
  auto destroy = reinterpret_cast<BOOL(WINAPI*)(HWND)>(ReasonCall("ShutdownBlockReasonDestroy"));
  if (destroy != nullptr) destroy(window);
}

}  // namespace

// Given at once, the reason is shown even while a long step keeps the
// window's thread from answering.
void BlockShutdown(HWND window) {
  g_blocked = true;
  if (window == nullptr || g_reasonWindow != nullptr) return;
  g_reasonWindow = window;
  GiveReason(window, true);
}

void AllowShutdown() {
  g_blocked = false;
  if (g_reasonWindow == nullptr) return;
  GiveReason(g_reasonWindow, false);
  g_reasonWindow = nullptr;
}

BOOL AnswerEndSession(HWND window) {
  bool blocked = g_blocked;
  GiveReason(window, blocked);
  return blocked ? FALSE : TRUE;
}

}  // namespace platform
