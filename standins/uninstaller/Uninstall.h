#pragma once
// The work itself: undo what "<folder>\uninstall.nfo" records.
#include <string>

namespace uninstaller {

constexpr int kExitDone = 0;
constexpr int kExitRefused = 2;
constexpr int kExitBadCommandLine = 3;

// kExitDone once the record was acted on, even when some paths stayed;
// kExitRefused, with nothing touched, when the record cannot be trusted.
int UninstallFolder(const std::string& folder);

}  // namespace uninstaller
