#include "platform/FileAhead.h"

#include <string.h>

#include "platform/FileWrite.h"
#include "platform/ScopedHandle.h"

namespace platform {
namespace {

// The path is written before g_asked is set and read by the maker after; the
// handle the other way round, with g_made. Setting and waiting for an event
// order the memory between the threads.
char g_path[MAX_PATH];
HANDLE g_file;
HANDLE g_asked;
HANDLE g_made;
bool g_pending;
// Started once, or tried once: not tried again for every file.
bool g_tried;

DWORD WINAPI MakeAsked(void*) {
  while (WaitForSingleObject(g_asked, INFINITE) == WAIT_OBJECT_0) {
    g_file = CreateNewForWriting(g_path);
    SetEvent(g_made);
  }
  return 0;
}

bool Started() {
  if (!g_tried) {
    g_tried = true;
    // The events, like the thread, last as long as the process.
    g_asked = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE made = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (g_asked != nullptr && made != nullptr) {
      ScopedKernelObject thread(CreateThread(nullptr, 0, MakeAsked, nullptr, 0, nullptr));
      if (thread.Valid()) g_made = made;
    }
  }
  return g_made != nullptr;
}

}  // namespace

void CreateAhead(const char* path) {
  DropCreated();
  size_t size = strlen(path) + 1;
  if (size > sizeof(g_path) || !Started()) return;
  memcpy(g_path, path, size);
  g_pending = SetEvent(g_asked) != FALSE;
}

HANDLE TakeCreated(const char* path) {
  if (!g_pending || strcmp(path, g_path) != 0) return INVALID_HANDLE_VALUE;
  WaitForSingleObject(g_made, INFINITE);
  g_pending = false;
  return g_file;
}

bool DropCreated() {
  HANDLE file = TakeCreated(g_path);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  DeleteFileA(g_path);
  return true;
}

}  // namespace platform
