#pragma once
// Which recorded paths may be acted on: a relative one would resolve against
// whatever folder the uninstaller happens to run in.
#include <string>

namespace uninstaller {

// "X:\..." or "\\server\share..."; nothing else.
bool IsAbsolutePath(const std::string& path);
// The same file under both names, as far as the file system can tell.
bool SamePath(const std::string& a, const std::string& b);

}  // namespace uninstaller
