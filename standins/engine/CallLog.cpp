#include "standins/engine/CallLog.h"

#include "standins/common/LogFile.h"

namespace standin {

void LogCall(const std::string& line) { standin_log::AppendLine("VDL_ENGINE_LOG", line); }

std::string LogText(const char* text) { return text != nullptr ? std::string(text) : std::string("(null)"); }

std::string LogFlag(bool value) { return value ? "1" : "0"; }

}  // namespace standin
