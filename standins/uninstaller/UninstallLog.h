#pragma once
// The stand-in uninstaller's log: one line per fact, appended to the file
// named by VDL_UNINSTALL_LOG. Both the started program and its temporary copy
// write to it, so tests see the whole hand-over in one place.
#include <string>

namespace uninstaller {

void LogLine(const std::string& line);
std::string Variable(const char* name);

}  // namespace uninstaller
