#pragma once
// Runs the publisher's signing command on the complete installer, before it
// replaces the output.
#include <stdint.h>

#include <string>

#include "vpack/manifest/SigningCommand.h"

namespace vpack {

// Signs the installer at path, which then holds the signed one; on failure
// path is left as it was and Error says why in one line: the command's exit
// status and the last line it wrote to stderr, or that the result is no
// longer the installer whose stub is stubSize bytes, or is not signed.
void SignInstaller(const SigningCommand& signing, const std::string& path, uint64_t stubSize);

}  // namespace vpack
