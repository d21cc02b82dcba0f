#include "ui/TextTable.h"

#include "platform/AnsiChars.h"

namespace ui {

void TextOf(texts::Id id, wchar_t* out, int size) {
  if (MultiByteToWideChar(CP_ACP, 0, texts::English(id), -1, out, size) == 0) out[0] = 0;
}

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
