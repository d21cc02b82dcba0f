#pragma once
// The three vpack commands. Each takes the arguments after its name, returns
// the exit status, and throws Error or UsageError for main to report.
#include <string>
#include <vector>

namespace vpack {

using Arguments = std::vector<std::string>;

int RunPack(const Arguments& arguments);
int RunList(const Arguments& arguments);
int RunVerify(const Arguments& arguments);

// Every command's form, for the usage message.
const char* UsageText();

}  // namespace vpack
