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
int RunExtract(const Arguments& arguments);

// The commands on an installer, for any front end: each prints its result,
// returns the exit status and throws Error when the installer cannot be read.
// Verify answers whether the installer will do its job, one line per reason
// it will not.
int Verify(const std::string& installer);
// Per item its store, unpacked size and the lists naming it; json for scripts.
int List(const std::string& installer, bool json);
// The files as the installation places them, below folder.
int Extract(const std::string& installer, const std::string& folder);

// Every command's form, for the usage message.
const char* UsageText();

}  // namespace vpack
