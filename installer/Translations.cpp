#include "installer/Translations.h"

#include <windows.h>

#include "payload/LittleEndian.h"
#include "payload/ProjectTypes.h"
#include "payload/TextItems.h"
#include "platform/Text.h"
#include "ui/TextTable.h"

namespace installer {

void LoadTranslations(payload::PayloadReader& reader) {
  // The texts were written in the installer's code page, whichever the
  // system's is: read through UTF-16, they show as written.
  UINT codePage = CP_ACP;
  uint8_t raw[4];
  if (reader.ReadItem(payload::kCodePageSetting.name, raw, sizeof(raw), nullptr)) {
    codePage = payload::ReadLittleEndian32(raw);
  }
  for (int32_t i = 0; i < reader.EntryCount(); ++i) {
    const payload::PayloadEntry* entry = reader.Entry(i);
    texts::Id id;
    if (!text::EqualNoCase(entry->type, payload::kTypeText)) continue;
    if (text::EqualNoCase(entry->name, payload::kLogItem)) ui::LogAsShown();
    if (!payload::TextOfItem(entry->name, &id)) continue;
    // The read refuses an item longer than the buffer; an empty one converts
    // to nothing and is passed over with the rest.
    char bytes[payload::kMaxTextBytes];
    wchar_t wide[payload::kMaxTextBytes + 1];
    if (!reader.ReadItem(entry->name, bytes, sizeof(bytes), payload::kTypeText)) continue;
    int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(entry->size), wide,
                                     payload::kMaxTextBytes);
    if (length == 0) continue;
    wide[length] = 0;
    ui::UseText(id, wide);
  }
}

}  // namespace installer
