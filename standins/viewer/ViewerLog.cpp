#include "standins/viewer/ViewerLog.h"

#include "standins/common/LogFile.h"

namespace viewer {

std::string Variable(const char* name) { return standin_log::Variable(name); }

void LogLine(const std::string& line) { standin_log::AppendLine("VDL_VIEWER_LOG", line); }

}  // namespace viewer
