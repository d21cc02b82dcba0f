#pragma once
// The stub's copy with the publisher's icon and version information in its
// resources, and the version information read back from an installer.
#include <stdint.h>

#include <optional>
#include <string>
#include <vector>

#include "vpack/manifest/Branding.h"
#include "vpack/pe/VersionResource.h"

namespace vpack {

// The stub with its resources rebuilt: the publisher's icon group in place of
// any icons of its own, the version resource in place of any it had, the
// rest kept. The result still ends where its last section ends, at an offset
// the stub's payload search reaches even when a signature follows the
// payload. Throws Error naming the stub's path.
Bytes BrandStub(const Bytes& stub, const Branding& branding, const std::string& stubPath);

// The version information the image of an installer (its first imageSize
// bytes) states; nothing when it states none.
std::optional<VersionInfo> StubVersion(const std::string& installerPath, uint64_t imageSize);

}  // namespace vpack
