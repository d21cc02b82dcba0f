#pragma once
// A running program cannot delete its own file, so the uninstaller hands the
// work to a copy of itself in the temporary folder and leaves.
#include <stdint.h>

#include <string>

namespace uninstaller {

std::string OwnProgramPath();
// The folder part of a path, without the last backslash.
std::string FolderOf(const std::string& path);
// Copies the program to %TEMP%\VDLUnInst-<pid>.exe and starts it on folder,
// told to wait for this process; false when either step failed.
bool StartTemporaryCopy(const std::string& folder);
// Returns once the process is gone, or after 30 s.
void WaitForProcessEnd(uint32_t pid);
// Asks for the program's own file to go at the next restart; may be refused.
void ScheduleOwnDeletion();

}  // namespace uninstaller
