#pragma once
// Removing what the record lists, one logged line per path. Failures are
// reported, never fatal: the rest of the installation still goes.
#include <string>

namespace uninstaller {

// ownProgram is the running uninstaller: listed, it cannot go, so it is
// reported as failed without a try.
void RemoveRecordedFile(const std::string& path, const std::string& ownProgram);
// A folder that still holds anything stays.
void RemoveRecordedFolder(const std::string& path);
// The installation folder, when empty and not already gone with the record.
void RemoveInstallationFolder(const std::string& folder);

}  // namespace uninstaller
