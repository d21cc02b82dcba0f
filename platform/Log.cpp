#include "platform/Log.h"

namespace logfile {
namespace {

HANDLE g_file = nullptr;
// Three bytes of UTF-8 for each of the 1,024 UTF-16 units a message holds.
constexpr int kWideChars = 1024;

// A line break inside a message would split its entry in two.
void WriteWide(const wchar_t* text) {
  char utf8[3 * kWideChars];
  int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr) - 1;
  for (int i = 0; i < length; ++i) {
    if (utf8[i] == '\r' || utf8[i] == '\n') utf8[i] = ' ';
  }
  DWORD written = 0;
  if (length > 0) WriteFile(g_file, utf8, static_cast<DWORD>(length), &written, nullptr);
}

void WriteAnsi(const char* text) {
  wchar_t wide[kWideChars];
  if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kWideChars) != 0) WriteWide(wide);
}

void End() {
  DWORD written = 0;
  WriteFile(g_file, "\r\n", 2, &written, nullptr);
}

}  // namespace

void Use(HANDLE file) { g_file = file; }

void Line(const char* first, const char* second) {
  if (g_file == nullptr) return;
  WriteAnsi(first);
  if (second != nullptr) {
    WriteAnsi(": ");
    WriteAnsi(second);
  }
  End();
}

void LineWide(const wchar_t* first, const wchar_t* second) {
  if (g_file == nullptr) return;
  WriteWide(first);
  WriteWide(L": ");
  WriteWide(second);
  End();
}

}  // namespace logfile
