#pragma once
// The version information an installer's stub states, read back.
#include <stdint.h>

#include <optional>
#include <string>

#include "vpack/pe/VersionResource.h"

namespace vpack {

// The version information the image of an installer (its first imageSize
// bytes) states; nothing when it states none.
std::optional<VersionInfo> StubVersion(const std::string& installerPath, uint64_t imageSize);

}  // namespace vpack
