// What an installation leaves in the system besides files: shortcuts and
// registry entries.
#include "installer/Installer.h"
#include "payload/RuntimeFiles.h"
#include "platform/Message.h"
#include "platform/Registry.h"
#include "platform/ShellLink.h"
#include "platform/Text.h"

namespace installer {

namespace {

constexpr char kViewerKey[] = "SOFTWARE\\Morvane\\Vandrel Viewers\\2.00.000\\";
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vandrel";

void ReportRegistryFailure(const char* keyPath) {
  message::Show("Error can't write in registry", keyPath, message::kOk);
}

}  // namespace

void Installer::CreateShortcut(const char* target, const char* link, const char* description, const char* arguments) {
  platform::SaveShellLink(target, link, description, arguments, workFolder);
}

// Reads ProjectName up to its terminator; false (and the missing-item
// message) when it is not there.
bool Installer::ReadProjectName(char* name) {
  if (!ReadSetting(payload::kProjectName, name)) return false;
  name[kTextFieldSize] = '\0';
  return true;
}

void Installer::WriteViewerRegistryKey() {
  char name[kTextFieldSize + 1];
  if (!ReadProjectName(name)) return;
  char keyPath[sizeof(kViewerKey) + kTextFieldSize];
  text::Join(keyPath, sizeof(keyPath), kViewerKey, name);
  platform::RegistryString values[] = {{"DisplayName", workFolder}};
  if (!platform::WriteMachineStrings(keyPath, values, 1)) ReportRegistryFailure(keyPath);
}

void Installer::WriteUninstallRegistryKey() {
  char name[kTextFieldSize + 1];
  if (!ReadProjectName(name)) return;
  char keyPath[sizeof(kUninstallKey) + kTextFieldSize];
  text::Join(keyPath, sizeof(keyPath), kUninstallKey, name);
  // Quoted, so that a folder with spaces cannot start another program
  // ("C:\Program Files\..." unquoted runs "C:\Program.exe" when it exists).
  char command[kPathSize + 20];
  char folder[kPathSize];
  text::CopyAtMost(folder, workFolder, kPathSize - 1);
  text::Join(command, sizeof(command), "\"", folder, "\\" VDL_UNINSTALLER_NAME "\"");
  platform::RegistryString values[] = {{"DisplayName", name}, {"UninstallString", command}};
  if (!platform::WriteMachineStrings(keyPath, values, 2)) ReportRegistryFailure(keyPath);
}

}  // namespace installer
