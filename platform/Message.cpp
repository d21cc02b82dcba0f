#include "platform/Message.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/Log.h"
#else
#include <stdio.h>
#endif

namespace message {
namespace {
Hook g_hook = nullptr;
void* g_context = nullptr;
}  // namespace

void SetHook(Hook hook, void* context) {
  g_hook = hook;
  g_context = context;
}

int Show(const char* text, const char* caption, uint32_t type) {
#ifdef _WIN32
  logfile::Line(caption, text);
#endif
  if (g_hook != nullptr) return g_hook(g_context, Box{text, caption, nullptr, nullptr, type});
#ifdef _WIN32
  return MessageBoxA(nullptr, text, caption, type);
#else
  // Host tools share the payload code; they report on the terminal instead.
  fprintf(stderr, "%s: %s\n", caption, text);
  return kAnswerOk;
#endif
}

#ifdef _WIN32
int ShowWide(const wchar_t* text, const wchar_t* caption, uint32_t type, const wchar_t* logText,
             const wchar_t* logCaption) {
  logfile::LineWide(logCaption != nullptr ? logCaption : caption, logText != nullptr ? logText : text);
  if (g_hook != nullptr) return g_hook(g_context, Box{nullptr, nullptr, text, caption, type});
  return MessageBoxW(nullptr, text, caption, type);
}
#endif

}  // namespace message
