#include "platform/FileWrite.h"

namespace platform {

// Null (a zero image, no constructor) unless a test sets it.
WriteHook writeHook;

bool WriteWhole(HANDLE file, const void* bytes, uint32_t count) {
  DWORD written = 0;
  BOOL done = writeHook != nullptr ? writeHook(file, bytes, count, &written)
                                   : WriteFile(file, bytes, count, &written, nullptr);
  return done && written == count;
}

}  // namespace platform
