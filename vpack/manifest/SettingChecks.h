#pragma once
// The settings checked against what the project type's flow does with them,
// so that a value that would break the installation on the user's machine
// (links in the wrong folder or none, an install folder that is no folder,
// an uninstall entry without a name) is refused here, naming the setting.
#include <stdint.h>

#include <string>
#include <vector>

#include "vpack/manifest/Manifest.h"

namespace vpack {

// Adds one line per setting that would break the installation to problems,
// and a warning per setting the project type never reads.
void CheckSettings(Manifest& manifest, uint32_t projectType, std::vector<std::string>& problems);

}  // namespace vpack
