#pragma once
// vpack verify: whether installers will do their job.
#include <memory>
#include <string>
#include <vector>

#include "vpack/base/CodePage.h"
#include "vpack/base/Command.h"

namespace vpack {

// Whether each installer will do its job, one line per reason it will not,
// and whether it is signed; json: one array of results for scripts. Names
// are shown in UTF-8, read in codePage (kRecordedCodePage: the one the
// installer records). quiet: no progress bar. Returns 1 when any fails.
int Verify(const std::vector<std::string>& installers, bool json, unsigned codePage = kRecordedCodePage,
           bool quiet = false);

// `verify` on the command line, its options and help text.
std::unique_ptr<Command> VerifyCommand(CLI::App& app);

}  // namespace vpack
