#pragma once
// What lies below the viewer's current folder while it runs: the evidence
// that every extracted file was in place, and in its decoded form.
#include <string>

namespace viewer {

// Logs "Viewer file <relative path> <size> <crc32>" for every file below
// folder, depth first.
void LogFilesBelow(const std::string& folder, const std::string& relative = "");

}  // namespace viewer
