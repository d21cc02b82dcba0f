// What an installation leaves in the system besides files: shortcuts and
// registry entries.
#include "installer/Installer.h"
#include "payload/InstalledNames.h"
#include "payload/RuntimeFiles.h"
#include "platform/Log.h"
#include "platform/Registry.h"
#include "platform/ShellLink.h"
#include "platform/Text.h"

#include <windows.h>

namespace installer {

namespace {

constexpr char kViewerKey[] = "SOFTWARE\\Morvane\\Vandrel Viewers\\2.00.000\\";
using payload::kUninstallKey;

// The day as the list of programs sorts it, YYYYMMDD: the picture's digits
// are the same in every locale.
void InstallDate(char date[9]) {
  if (GetDateFormatA(LOCALE_USER_DEFAULT, 0, nullptr, "yyyyMMdd", date, 9) == 0) date[0] = '\0';
}

// The entry's optional texts, by the setting each is read from.
constexpr const payload::Setting* kEntryTexts[] = {&payload::kDisplayVersion, &payload::kPublisher,
                                                   &payload::kAboutUrl, &payload::kHelpLink};
constexpr int kEntryTextCount = sizeof(kEntryTexts) / sizeof(kEntryTexts[0]);

}  // namespace

void Installer::CreateShortcut(const char* target, const char* link, const char* description, const char* arguments) {
  platform::SaveShellLink(target, link, description, arguments, workFolder);
}

// A key that cannot be written is told, and the installation goes on.
void Installer::WriteKey(const char* keyPath, const platform::RegistryValue* values, int count) {
  logfile::Line("Registry", keyPath);
  if (platform::WriteMachineValues(keyPath, values, count)) return;
  NoteFailure(FailureKind::kRegistry, keyPath, 0);
  TellNow();
}

bool Installer::ReadOptionalText(const payload::Setting& setting, char* text) {
  text[kTextFieldSize] = '\0';
  if (!ReadItem(setting.name, text, static_cast<int32_t>(setting.size), nullptr)) return false;
  TextInSystemCodePage(text);
  return true;
}

// Reads ProjectName up to its terminator; false (the missing item noted)
// when it is not there.
bool Installer::ReadProjectName(char* name) {
  if (!ReadSetting(payload::kProjectName, name)) return false;
  name[kTextFieldSize] = '\0';
  return true;
}

void Installer::WriteViewerRegistryKey() {
  char name[kTextFieldSize + 1];
  if (!ReadProjectName(name)) return TellNow();
  char keyPath[sizeof(kViewerKey) + kTextFieldSize];
  text::Join(keyPath, sizeof(keyPath), kViewerKey, name);
  platform::RegistryValue values[] = {{"DisplayName", workFolder, 0}};
  WriteKey(keyPath, values, 1);
}

void Installer::WriteUninstallRegistryKey() {
  char name[kTextFieldSize + 1];
  if (!ReadProjectName(name)) return TellNow();
  char keyPath[sizeof(kUninstallKey) + kTextFieldSize];
  text::Join(keyPath, sizeof(keyPath), kUninstallKey, name);
  // Quoted, so that a folder with spaces cannot start another program
  // ("C:\Program Files\..." unquoted runs "C:\Program.exe" when it exists).
  char command[kPathSize + 20];
  char folder[kPathSize];
  text::CopyAtMost(folder, workFolder, kPathSize - 1);
  text::Join(command, sizeof(command), "\"", folder, "\\" VDL_UNINSTALLER_NAME "\"");
  char date[9];
  InstallDate(date);
  // What the list of programs shows beside the name: the folder, the day,
  // the size of what was written (KiB), and that there is nothing to modify
  // or repair, only to remove.
  uint32_t kib = static_cast<uint32_t>((bytesWritten + 1023) / 1024);
  platform::RegistryValue values[12] = {{"DisplayName", name, 0},       {"UninstallString", command, 0},
                                        {"InstallLocation", folder, 0}, {"InstallDate", date, 0},
                                        {"EstimatedSize", nullptr, kib}, {"NoModify", nullptr, 1},
                                        {"NoRepair", nullptr, 1}};
  int count = 7;
  // Who made it, which version it is and where to read of it, where the
  // payload says (each value named as its setting); the icon then is the
  // installed viewer's where the first two say who and what.
  char texts[kEntryTextCount][kTextFieldSize + 1];
  bool branded = false;
  for (int i = 0; i < kEntryTextCount; ++i) {
    if (ReadOptionalText(*kEntryTexts[i], texts[i])) values[count++] = {kEntryTexts[i]->name, texts[i], 0};
    branded = branded || (i == 1 && count > 7);
  }
  char icon[kPathSize + 20];
  if (branded && viewerInstalled && text::Join(icon, sizeof(icon), folder, payload::kViewerInFolder)) {
    values[count++] = {"DisplayIcon", icon, 0};
  }
  WriteKey(keyPath, values, count);
}

}  // namespace installer
