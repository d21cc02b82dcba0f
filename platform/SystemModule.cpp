#include "platform/SystemModule.h"

#include "platform/Text.h"

namespace platform {

ScopedModule LoadSystemModule(const char* name) {
  char path[MAX_PATH];
  UINT length = GetSystemDirectoryA(path, sizeof(path));
  if (length == 0 || length >= sizeof(path)) return ScopedModule();
  if (!text::Append(path, sizeof(path), "\\") || !text::Append(path, sizeof(path), name)) return ScopedModule();
  return ScopedModule(LoadLibraryExA(path, nullptr, 0));
}

}  // namespace platform
