// Runs the installer's DirectX probe in a process of its own, so that each
// run can be given other DLL overrides, and prints the code and every line
// the probe wrote to the debugger output.
#include <windows.h>

#include <stdio.h>

#include "platform/DirectXProbe.h"

namespace {

// OutputDebugStringA raises this exception for a debugger to see; a
// vectored handler sees it first and lets it go on.
LONG CALLBACK CaptureDebugString(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
    const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
    fputs("line ", stdout);
    for (size_t i = 0; i < length && text[i] != '\0'; ++i) {
      if (text[i] == '\r') fputs("\\r", stdout);
      else if (text[i] == '\n') fputs("\\n", stdout);
      else fputc(text[i], stdout);
    }
    fputc('\n', stdout);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

int main() {
  AddVectoredExceptionHandler(1, CaptureDebugString);
  uint32_t code = platform::ProbeDirectXVersion();
  printf("code 0x%X\n", static_cast<unsigned>(code));
  return 0;
}
