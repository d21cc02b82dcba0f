#include "platform/ShutdownBlock.h"

namespace platform {
namespace {

// Set by the run, read by whichever thread answers a window.
volatile bool g_blocked = false;

// The reason calls exist from Windows Vista on; before, the answer alone
// holds the session.
void* ReasonCall(const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name));
}

}  // namespace

void BlockShutdown() { g_blocked = true; }

void AllowShutdown() { g_blocked = false; }

// The reason is given as the question comes rather than when the block
// starts: only the thread that made a window may name its reason, and a
// silent run's window has a thread of its own.
BOOL AnswerEndSession(HWND window) {
  if (g_blocked) {
    auto create = reinterpret_cast<BOOL(WINAPI*)(HWND, LPCWSTR)>(ReasonCall("ShutdownBlockReasonCreate"));
    if (create != nullptr) create(window, L"Installing");
    return FALSE;
  }
  auto destroy = reinterpret_cast<BOOL(WINAPI*)(HWND)>(ReasonCall("ShutdownBlockReasonDestroy"));
  if (destroy != nullptr) destroy(window);
  return TRUE;
}

}  // namespace platform
