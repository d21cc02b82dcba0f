#pragma once
// The stub's copy with the publisher's icon and version information in its
// resources.
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
// payload. The version resource keeps the stub's own version (Switches.h).
// Throws Error naming the stub's path.
Bytes BrandStub(const Bytes& stub, const Branding& branding, const std::string& stubPath);

}  // namespace vpack
