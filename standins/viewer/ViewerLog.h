#pragma once
// The stand-in viewer's log: one line per fact, appended to the file named by
// VDL_VIEWER_LOG. The same file may hold the engine's call log, so that tests
// can see in one place which came first.
#include <string>

namespace viewer {

void LogLine(const std::string& line);
std::string Variable(const char* name);

}  // namespace viewer
