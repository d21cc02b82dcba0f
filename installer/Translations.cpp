#include "installer/Translations.h"

#include <windows.h>

#include "payload/Languages.h"
#include "payload/TextItems.h"
#include "platform/Log.h"
#include "platform/Text.h"
#include "ui/TextTable.h"

namespace installer {
namespace {

uint16_t Read16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

// Tags are ASCII: compared without regard to case, as switches are.
bool SameTag(const char* tag, const wchar_t* asked) {
  for (; *tag != 0 || *asked != 0; ++tag, ++asked) {
    wchar_t a = *asked >= L'a' && *asked <= L'z' ? static_cast<wchar_t>(*asked - 32) : *asked;
    char t = *tag >= 'a' && *tag <= 'z' ? static_cast<char>(*tag - 32) : *tag;
    if (a != static_cast<wchar_t>(static_cast<unsigned char>(t))) return false;
  }
  return true;
}

// How well a carried language answers: asked for by name, the user's own,
// one standing for it, the default; 0 for none of these.
int Fit(const payload::PayloadEntry* entry, const uint8_t head[payload::kLanguageHead], const wchar_t* asked,
        uint16_t user) {
  uint16_t id = Read16(head);
  if (*asked != 0 && SameTag(entry->name, asked)) return 4;
  if (id == user) return 3;
  if (payload::LanguageFamily(id) == payload::LanguageFamily(user)) return 2;
  return (Read16(head + 2) & payload::kLanguageDefault) != 0 ? 1 : 0;
}

const payload::PayloadEntry* Choose(payload::PayloadReader& reader, const wchar_t* asked, bool* found) {
  uint16_t user = GetUserDefaultUILanguage();
  const payload::PayloadEntry* best = nullptr;
  int bestFit = 0;
  for (int32_t i = 0; i < reader.EntryCount(); ++i) {
    const payload::PayloadEntry* entry = reader.Entry(i);
    uint8_t head[payload::kLanguageHead];
    if (!text::EqualNoCase(entry->type, payload::kTypeLanguage)) continue;
    if (!reader.ReadPart(entry, 0, head, sizeof(head))) continue;
    int fit = Fit(entry, head, asked, user);
    *found = *found || fit == 4;
    if (fit > bestFit) {
      best = entry;
      bestFit = fit;
    }
  }
  return best;
}

// Each text of the block, checked against the block's end before it is read.
void UseBlock(const uint8_t* block, uint32_t size) {
  wchar_t wide[payload::kMaxTextBytes + 1];
  for (uint32_t at = payload::kLanguageHead; at + payload::kLanguageTextHead <= size;) {
    uint8_t number = block[at];
    uint32_t length = Read16(block + at + 1);
    at += payload::kLanguageTextHead;
    if (length > size - at) return;
    int count = length <= payload::kMaxTextBytes
                    ? MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(block + at),
                                          static_cast<int>(length), wide, payload::kMaxTextBytes)
                    : 0;
    at += length;
    if (count == 0 || number >= texts::kTextCount) continue;
    wide[count] = 0;
    ui::UseText(static_cast<texts::Id>(number), wide);
  }
}

char g_chosen[16];

}  // namespace

const char* ChosenLanguage() { return g_chosen; }

void LoadTranslations(payload::PayloadReader& reader, const wchar_t* asked) {
  if (reader.Item(payload::kLogItem, payload::kTypeText) != nullptr) ui::LogAsShown();
  bool found = false;
  const payload::PayloadEntry* chosen = Choose(reader, asked, &found);
  if (*asked != 0 && !found) logfile::LineWide(L"Language not carried", asked);
  if (chosen == nullptr || chosen->size > payload::kMaxLanguageBytes) return;
  if (reader.ReadEntry(chosen, nullptr, 0)) {
    logfile::Line("Language", chosen->name);
    text::CopyAtMost(g_chosen, chosen->name, sizeof(g_chosen) - 1);
    UseBlock(reader.Data(), reader.DataSize());
  }
  reader.ReleaseData();
}

}  // namespace installer
