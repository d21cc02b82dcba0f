#include "installer/Installer.h"

namespace installer {

// Project types whose flows are not built yet end at once, without a message;
// the steps only they use do nothing until then.
bool Installer::InstallStandaloneFlow() { return false; }
bool Installer::InstallScreenSaverFlow() { return false; }
bool Installer::InstallWinampPluginFlow() { return false; }
void Installer::CreateShortcut(const char*, const char*, const char*, const char*) {}
void Installer::WriteViewerRegistryKey() {}
void Installer::WriteUninstallRegistryKey() {}
void Installer::CopyScreenSaverToSystem() {}

}  // namespace installer
