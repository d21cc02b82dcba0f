#include "standins/uninstaller/UninstallLog.h"

#include "standins/common/LogFile.h"

namespace uninstaller {

std::string Variable(const char* name) { return standin_log::Variable(name); }

void LogLine(const std::string& line) { standin_log::AppendLine("VDL_UNINSTALL_LOG", line); }

}  // namespace uninstaller
