#include "app/CommandLine.h"

#include "payload/StubSwitches.h"

namespace app {
namespace {

using payload::SwitchLength;

// The longest command line Windows passes, with its terminator; kept out of
// the stack and out of the file (it is zero until used).
wchar_t g_line[32768];

wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

// prefix in upper case; narrow, as the switches are, to keep them small.
bool StartsWith(const wchar_t* text, const char* prefix) {
  for (; *prefix != 0; ++text, ++prefix) {
    if (Upper(*text) != static_cast<wchar_t>(*prefix)) return false;
  }
  return true;
}

// The end of the word at p: the next space outside quotes.
wchar_t* WordEnd(wchar_t* p) {
  bool quoted = false;
  for (; *p != 0 && (quoted || (*p != L' ' && *p != L'\t')); ++p) {
    if (*p == L'"') quoted = !quoted;
  }
  return p;
}

// Quotes are the shell's, not the name's: "/LOG=C:\a b\x.log" and
// /LOG="C:\a b\x.log" name the same file.
wchar_t* Unquoted(wchar_t* text) {
  wchar_t* out = text;
  for (wchar_t* in = text; *in != 0; ++in) {
    if (*in != L'"') *out++ = *in;
  }
  *out = 0;
  return text;
}

}  // namespace

void ReadCommandLine(const wchar_t* line, CommandLine* result) {
  result->unattended.silent = false;
  result->unattended.folder = nullptr;
  result->log = L"";
  result->language = L"";
  size_t length = 0;
  while (line[length] != 0 && length + 1 < sizeof(g_line) / sizeof(g_line[0])) {
    g_line[length] = line[length];
    ++length;
  }
  g_line[length] = 0;
  // The program's own name comes first.
  wchar_t* p = WordEnd(g_line);
  while (*p != 0) {
    while (*p == L' ' || *p == L'\t') ++p;
    // A script's launcher quotes a switch whole where it holds a space:
    // "/D=C:\Program Files\Tour" is the same switch.
    wchar_t* word = p + (*p == L'"' ? 1 : 0);
    // Unquoted, the folder is the rest of the line, spaces and all; quoted,
    // whole or after its '=', it ends at its closing quote, and switches
    // may follow: "/D=C:\Program Files\Tour" /LOG=C:\s.log.
    if (StartsWith(word, VDL_FOLDER_SWITCH) && word == p && word[SwitchLength(VDL_FOLDER_SWITCH)] != L'"') {
      wchar_t* end = word + lstrlenW(word);
      while (end > word + SwitchLength(VDL_FOLDER_SWITCH) && (end[-1] == L' ' || end[-1] == L'\t')) --end;
      *end = 0;
      result->unattended.folder = word + SwitchLength(VDL_FOLDER_SWITCH);
      return;
    }
    wchar_t* end = WordEnd(p);
    wchar_t next = *end;
    *end = 0;
    Unquoted(word);
    if (StartsWith(word, VDL_SILENT_SWITCH) && word[SwitchLength(VDL_SILENT_SWITCH)] == 0) {
      result->unattended.silent = true;
    }
    if (StartsWith(word, VDL_LOG_SWITCH)) result->log = word + SwitchLength(VDL_LOG_SWITCH);
    if (StartsWith(word, VDL_LANGUAGE_SWITCH)) result->language = word + SwitchLength(VDL_LANGUAGE_SWITCH);
    if (StartsWith(word, VDL_FOLDER_SWITCH)) result->unattended.folder = word + SwitchLength(VDL_FOLDER_SWITCH);
    if (next == 0) break;
    p = end + 1;
  }
}

}  // namespace app
