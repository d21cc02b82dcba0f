#pragma once
// The stand-in engine's record of the calls it receives, so that tests can
// check what the stub asked of it and in which order.
#include <stdint.h>

#include <string>

namespace standin {

// Appends the line to the file named by VDL_ENGINE_LOG, if set. Each line is
// written and closed at once, so that nothing is lost if the process dies.
void LogCall(const std::string& line);

// Text for log lines: "(null)" for null.
std::string LogText(const char* text);
std::string LogFlag(bool value);

}  // namespace standin
