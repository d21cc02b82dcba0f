// An installer made for another code page than the system's. Windows reads
// its ANSI names in the system's page: the bytes of "Café.scr" made for 1252
// are "Caf・scr" on a Japanese system, its extension gone. Each name and text
// is taken through UTF-16 into the system's page instead, and a letter that
// page lacks stops the installation before anything is written.
#include <string.h>

#include "installer/Installer.h"
#include "payload/LittleEndian.h"
#include "payload/ProjectTypes.h"
#include "platform/AnsiFolder.h"
#include "platform/Text.h"
#include "ui/TextTable.h"

namespace installer {
namespace {

bool IsAscii(const char* text) {
  for (; *text != '\0'; ++text) {
    if (static_cast<unsigned char>(*text) >= 0x80) return false;
  }
  return true;
}

// A text setting of the payload's table, which the installer reads and
// shows as text; any other item (a project file of the same size) is bytes.
bool IsTextSetting(const payload::PayloadEntry* entry) {
  if (strcmp(entry->type, payload::kTypeAppData) != 0 || entry->size != kTextFieldSize) return false;
  for (const payload::Setting* setting : payload::kAllSettings) {
    if (setting->size == kTextFieldSize && text::EqualNoCase(entry->name, setting->name)) return true;
  }
  return false;
}

}  // namespace

bool Installer::ToSystemCodePage(const char* payloadText, char* out, int size) const {
  if (payloadCodePage == 0 || IsAscii(payloadText)) {
    if (text::LengthUpTo(payloadText, size) >= static_cast<size_t>(size)) return false;
    text::CopyAtMost(out, payloadText, size - 1);
    return true;
  }
  wchar_t wide[kWorkFolderSize];
  return MultiByteToWideChar(payloadCodePage, MB_ERR_INVALID_CHARS, payloadText, -1, wide, kWorkFolderSize) != 0 &&
         platform::ConvertExactly(wide, out, size);
}

void Installer::TextInSystemCodePage(char* text) {
  text[kTextFieldSize] = '\0';
  char converted[kTextFieldSize + 1];
  // Where it has no form (refused before anything was written), as it is.
  if (payloadCodePage != 0 && ToSystemCodePage(text, converted, sizeof(converted))) {
    text::CopyAtMost(text, converted, kTextFieldSize);
  }
}

// The entry's name, or its text where it is a text setting, when the
// system's page cannot hold it as the installation needs it: a name as long
// as a target path allows, a text as its field. Null when it can.
const char* Installer::ForeignText(const payload::PayloadEntry* entry, char* value) {
  char converted[kWorkFolderSize];
  if (!ToSystemCodePage(entry->name, converted, sizeof(converted))) return entry->name;
  if (!IsTextSetting(entry)) return nullptr;
  value[kTextFieldSize] = '\0';
  if (!ReadItem(entry->name, value, kTextFieldSize, entry->type)) return nullptr;
  return ToSystemCodePage(value, converted, kTextFieldSize + 1) ? nullptr : value;
}

bool Installer::FitsSystemCodePage() {
  uint8_t raw[4];
  if (reader == nullptr || !reader->ReadItem(payload::kCodePageSetting.name, raw, sizeof(raw), nullptr)) return true;
  uint32_t made = payload::ReadLittleEndian32(raw);
  if (made == GetACP()) return true;
  payloadCodePage = made;
  for (int32_t i = 0; i < reader->EntryCount(); ++i) {
    char value[kTextFieldSize + 1];
    const char* foreign = ForeignText(reader->Entry(i), value);
    if (foreign != nullptr) {
      // In English: a system whose page lacks the installer's letters is
      // one whose user may not read the installer's language, nor have the
      // fonts to show it.
      ui::UseEnglish();
      wchar_t name[kWorkFolderSize];
      if (MultiByteToWideChar(made, 0, foreign, -1, name, kWorkFolderSize) == 0) name[0] = 0;
      NoteFailureWide(FailureKind::kForeignCodePage, name, 0);
      failure.numbers[0] = made;
      failure.numbers[1] = GetACP();
      return false;
    }
  }
  return true;
}

}  // namespace installer
