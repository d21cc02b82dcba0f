#include "installer/Installer.h"

namespace installer {

// Project types whose flows are not built yet end at once, without a message;
// the steps only they use do nothing until then.
bool Installer::RunInPlaceFlow() { return false; }
bool Installer::InstallStandaloneFlow() { return false; }
bool Installer::InstallScreenSaverFlow() { return false; }
bool Installer::InstallWinampPluginFlow() { return false; }
void Installer::RunViewer(uint8_t) {}
void Installer::RemoveExtractedFiles() {}
bool Installer::HasDirectX81() { return false; }
uint32_t Installer::DetectDirectXVersion() { return 0; }
void Installer::CreateShortcut(const char*, const char*, const char*, const char*) {}
void Installer::WriteViewerRegistryKey() {}
void Installer::WriteUninstallRegistryKey() {}
void Installer::CopyScreenSaverToSystem() {}

}  // namespace installer
