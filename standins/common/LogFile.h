#pragma once
// The stand-ins' logs: one line per fact, appended to the file an
// environment variable names. Several programs may write the same file, so
// that tests can see in one place which came first.
#include <string>

namespace standin_log {

// The variable's value; empty when unset or too long to read whole.
std::string Variable(const char* name);

// Appends line to the file named by the variable; nothing when it is unset.
void AppendLine(const char* variable, const std::string& line);

}  // namespace standin_log
