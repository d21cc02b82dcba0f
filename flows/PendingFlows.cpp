#include "installer/Installer.h"

namespace installer {

// Project types whose flows are not built yet end at once, without a message;
// the steps only they use do nothing until then.
bool Installer::InstallScreenSaverFlow() { return false; }
bool Installer::InstallWinampPluginFlow() { return false; }
void Installer::CopyScreenSaverToSystem() {}

}  // namespace installer
