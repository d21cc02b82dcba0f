#include "platform/Log.h"

namespace logfile {
namespace {

HANDLE g_file = nullptr;
// Three bytes of UTF-8 for each of the 1,024 UTF-16 units a message holds.
constexpr int kWideChars = 1024;

// A line break inside a message would split its entry in two; the entry's
// own ends it.
void WriteWide(const wchar_t* text, bool end = false) {
  char utf8[3 * kWideChars + 2];
  int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, 3 * kWideChars, nullptr, nullptr) - 1;
  if (length < 0) length = 0;
  for (int i = 0; i < length; ++i) {
    if (utf8[i] == '\r' || utf8[i] == '\n') utf8[i] = ' ';
  }
  if (end) {
    utf8[length++] = '\r';
    utf8[length++] = '\n';
  }
  DWORD written = 0;
  WriteFile(g_file, utf8, static_cast<DWORD>(length), &written, nullptr);
}

void WriteAnsi(const char* text, bool end = false) {
  wchar_t wide[kWideChars];
  if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kWideChars) == 0) wide[0] = 0;
  WriteWide(wide, end);
}

}  // namespace

void Use(HANDLE file) { g_file = file; }

void Line(const char* first, const char* second) {
  if (g_file == nullptr) return;
  if (second == nullptr) {
    WriteAnsi(first, true);
    return;
  }
  WriteAnsi(first);
  WriteAnsi(": ");
  WriteAnsi(second, true);
}

void LineWide(const wchar_t* first, const wchar_t* second) {
  if (g_file == nullptr) return;
  WriteWide(first);
  WriteWide(L": ");
  WriteWide(second, true);
}

}  // namespace logfile
