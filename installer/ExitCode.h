#pragma once
// What the installer's exit code tells a deployment script. A run that ends
// any other way than these is a fault.
#include <stdint.h>

namespace installer {

enum ExitCode : uint32_t {
  kExitDone = 0,       // installed, or run in place
  kExitFailed = 1,     // a message was shown (or, silent, logged) saying why, or
                       // the payload names no flow the installer has
  kExitCancelled = 2,  // the user chose not to go on
  kExitLacking = 3,    // the machine lacks what the project needs
};

}  // namespace installer
