#pragma once
// Whole-buffer writes to a file, with a seam for tests: a full disk or a
// write that stops short cannot be made to happen on demand otherwise.
#include <stdint.h>
#include <windows.h>

namespace platform {

// Stands in for WriteFile while set; tests set it to fail or stop short.
using WriteHook = BOOL (*)(HANDLE file, const void* bytes, DWORD count, DWORD* written);
extern WriteHook writeHook;

// True only when all count bytes were written.
bool WriteWhole(HANDLE file, const void* bytes, uint32_t count);

}  // namespace platform
