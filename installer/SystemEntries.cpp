// What an installation leaves in the system besides files: shortcuts and
// registry entries.
#include "installer/Installer.h"
#include "payload/InstalledNames.h"
#include "payload/RuntimeFiles.h"
#include "platform/Log.h"
#include "platform/Registry.h"
#include "platform/ShellLink.h"
#include "platform/Text.h"

namespace installer {

namespace {

constexpr char kViewerKey[] = "SOFTWARE\\Morvane\\Vandrel Viewers\\2.00.000\\";
using payload::kUninstallKey;

}  // namespace

void Installer::CreateShortcut(const char* target, const char* link, const char* description, const char* arguments) {
  platform::SaveShellLink(target, link, description, arguments, workFolder);
}

// A key that cannot be written is told, and the installation goes on.
void Installer::WriteKey(const char* keyPath, const platform::RegistryString* values, int count) {
  logfile::Line("Registry", keyPath);
  if (platform::WriteMachineStrings(keyPath, values, count)) return;
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
  platform::RegistryString values[] = {{"DisplayName", workFolder}};
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
  platform::RegistryString values[5] = {{"DisplayName", name}, {"UninstallString", command}};
  // Who made it and which version it is, where the payload says; the icon
  // then is the installed viewer's.
  char version[kTextFieldSize + 1];
  char publisher[kTextFieldSize + 1];
  char icon[kPathSize + 20];
  int count = 2;
  if (ReadOptionalText(payload::kDisplayVersion, version)) values[count++] = {"DisplayVersion", version};
  if (ReadOptionalText(payload::kPublisher, publisher)) values[count++] = {"Publisher", publisher};
  if (count > 2 && viewerInstalled && text::Join(icon, sizeof(icon), folder, payload::kViewerInFolder)) {
    values[count++] = {"DisplayIcon", icon};
  }
  WriteKey(keyPath, values, count);
}

}  // namespace installer
