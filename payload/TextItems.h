#pragma once
// How an installer carries its texts in another language: one item a text,
// of a type of its own (older stubs and the list of settings pass over it),
// named by the text's number in the table, holding the text in the
// installer's code page ("CodePage", else the system's) without a
// terminator. A text the stub cannot read is shown in English.
#include <stdint.h>

#include "payload/Texts.h"

namespace payload {

inline constexpr char kTypeText[] = "TEXT";

// Longer than any translation needs, short enough for a message box.
constexpr uint32_t kMaxTextBytes = 768;

// An item of the text type by this name asks that the log, too, take the
// installer's words as it shows them; without it the log is in English, for
// administrators. The packager writes kLogAsShown into it, for people who
// read the payload; the stub asks only whether it is there.
inline constexpr char kLogItem[] = "log";
inline constexpr char kLogAsShown[] = "translated";

// The item's name for a text: its number in decimal.
inline void TextItemName(texts::Id id, char name[4]) {
  int n = static_cast<int>(id);
  int at = 0;
  if (n >= 100) name[at++] = static_cast<char>('0' + n / 100);
  if (n >= 10) name[at++] = static_cast<char>('0' + n / 10 % 10);
  name[at++] = static_cast<char>('0' + n % 10);
  name[at] = '\0';
}

// The text an item's name stands for; false for a name that is no text's
// number (written by a newer packager, or damaged).
inline bool TextOfItem(const char* name, texts::Id* id) {
  int n = 0;
  int digits = 0;
  for (; name[digits] >= '0' && name[digits] <= '9' && digits < 3; ++digits) n = n * 10 + (name[digits] - '0');
  if (digits == 0 || name[digits] != '\0' || (digits > 1 && name[0] == '0') || n >= texts::kTextCount) return false;
  *id = static_cast<texts::Id>(n);
  return true;
}

}  // namespace payload
