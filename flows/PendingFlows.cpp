#include "installer/Installer.h"

namespace installer {

// Project types whose flows are not built yet end at once, without a message.
bool Installer::RunInPlaceFlow() { return false; }
bool Installer::InstallStandaloneFlow() { return false; }
bool Installer::InstallScreenSaverFlow() { return false; }
bool Installer::InstallWinampPluginFlow() { return false; }

}  // namespace installer
