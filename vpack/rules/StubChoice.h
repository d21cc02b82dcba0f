#pragma once
// Which stub pack puts before the payload. A folder of stubs holds both
// variants: the installing project types need an administrator, the others
// run as the user who starts them.
#include <stdint.h>

#include <string>

namespace vpack {

// path: the stub given, or a folder holding both variants, from which the
// project type picks one. Throws Error naming the manifest when there is
// none at all.
std::string ChooseStub(const std::string& path, uint32_t projectType, const std::string& manifestPath);

}  // namespace vpack
