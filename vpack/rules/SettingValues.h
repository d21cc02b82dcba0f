#pragma once
// The text settings' values held against what the project type's flow does
// with them, so that pack and verify refuse, in the same words, a value that
// would break the installation on the user's machine: links in the wrong
// folder or under no name, an installation folder that is no folder or a
// whole drive, an uninstall entry Windows cannot make, a screen saver or
// plug-in that cannot be copied under the project's name.
#include <stdint.h>

#include <string>

namespace vpack {

// Why the value (in codePage) of the setting would break an installation of
// the project type; empty when it would not, and for a setting whose value
// the installer takes as it is.
std::string SettingValueProblem(const std::string& setting, const std::string& value, uint32_t projectType,
                                unsigned codePage);

}  // namespace vpack
