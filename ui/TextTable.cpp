#include "ui/TextTable.h"

#include "EnglishPacked.h"
#include "payload/Inflate.h"
#include "platform/AnsiChars.h"

namespace ui {
namespace {

char g_english[texts::kEnglishSize];
bool g_englishInflated;

// The English, inflated the first time a text is shown. The packed texts
// are the build's own and were checked against this inflater when made;
// should they still not inflate, the texts are empty, never read past.
const char* InflatedEnglish(texts::Id id) {
  if (!g_englishInflated) {
    size_t written = 0;
    g_englishInflated = payload::InflateZlib(texts::kEnglishPacked, sizeof texts::kEnglishPacked,
                                             reinterpret_cast<uint8_t*>(g_english), sizeof g_english, &written) &&
                        written == sizeof g_english;
    if (!g_englishInflated) return "";
  }
  return texts::Nth(g_english, id);
}

// The publisher's texts, where the installer carries them; null for English.
wchar_t* g_given[texts::kTextCount];
bool g_logAsShown;

}  // namespace

void TextOf(texts::Id id, wchar_t* out, int size, bool forLog) {
  const wchar_t* given = forLog && !g_logAsShown ? nullptr : g_given[static_cast<int>(id)];
  if (given == nullptr) {
    if (MultiByteToWideChar(CP_ACP, 0, InflatedEnglish(id), -1, out, size) == 0) out[0] = 0;
    return;
  }
  int length = 0;
  for (; given[length] != 0 && length < size - 1; ++length) out[length] = given[length];
  out[length] = 0;
}

void UseText(texts::Id id, const wchar_t* text) {
  int length = lstrlenW(text);
  wchar_t* copy = new wchar_t[length + 1];
  if (copy == nullptr) return;
  for (int i = 0; i <= length; ++i) copy[i] = text[i];
  delete[] g_given[static_cast<int>(id)];
  g_given[static_cast<int>(id)] = copy;
}

void UseEnglish() {
  for (wchar_t*& given : g_given) {
    delete[] given;
    given = nullptr;
  }
}

void LogAsShown() { g_logAsShown = true; }

void Widen(const char* ansi, wchar_t* out, int size) {
  out[0] = 0;
  if (size < 1) return;
  // Each character of the code page is at most one UTF-16 unit.
  char cut[1024];
  int room = size - 1 < static_cast<int>(sizeof(cut)) - 1 ? size - 1 : static_cast<int>(sizeof(cut)) - 1;
  text::CopyWholeChars(cut, ansi, static_cast<size_t>(room));
  if (MultiByteToWideChar(CP_ACP, 0, cut, -1, out, size) == 0) out[0] = 0;
}

}  // namespace ui
