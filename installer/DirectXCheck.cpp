#include "installer/Installer.h"
#include "platform/DirectXProbe.h"

namespace installer {

uint32_t Installer::DetectDirectXVersion() { return platform::ProbeDirectXVersion(); }

// Every release before 8.1 is named; any other code counts as new enough.
bool Installer::HasDirectX81() {
  switch (DetectDirectXVersion()) {
    case 0: case 0x100: case 0x200: case 0x300: case 0x500: case 0x600: case 0x601: case 0x700: case 0x800:
      return false;
    default:
      return true;
  }
}

}  // namespace installer
