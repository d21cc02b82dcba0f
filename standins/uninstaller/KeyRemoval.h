#pragma once
// The registry keys an installation leaves under HKEY_LOCAL_MACHINE.
#include <string>

namespace uninstaller {

// The project's uninstall entry and viewer entry; the name must be non-empty
// and free of backslashes, or a parent key would be hit.
void RemoveProjectKeys(const std::string& projectName);

}  // namespace uninstaller
