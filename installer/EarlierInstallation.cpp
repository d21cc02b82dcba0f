// An earlier installation of the same project: the folder it went to, which
// the options dialog offers again (what it made there is kept by the list
// beside the record, installer/EntryList.cpp).
#include <string.h>

#include "installer/Installer.h"
#include "payload/InstalledNames.h"
#include "platform/AnsiChars.h"
#include "platform/Registry.h"
#include "platform/Text.h"

namespace installer {

bool Installer::EarlierFolder(const char* projectName, char* folder) {
  char keyPath[sizeof(payload::kUninstallKey) + kTextFieldSize];
  char command[kPathSize + 20];
  if (!text::Join(keyPath, sizeof(keyPath), payload::kUninstallKey, projectName) ||
      !platform::ReadMachineString(keyPath, "UninstallString", command, sizeof(command))) {
    return false;
  }
  // "\"C:\...\VDLUnInst.exe\"": the uninstaller's folder.
  const char* start = command[0] == '"' ? command + 1 : command;
  const char* last = text::LastSeparator(start);
  size_t length = last != nullptr ? static_cast<size_t>(last - start) : 0;
  if (length < 3 || length >= kPathSize) return false;
  memcpy(folder, start, length);
  folder[length] = '\0';
  return true;
}

}  // namespace installer
