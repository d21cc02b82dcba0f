#pragma once
// --code-page, which every command that reads an installer takes: vpack
// records the code page in the installer, and an installer of an earlier
// vpack needs to be told (1252 otherwise).
#include <CLI/CLI.hpp>

namespace vpack {

void AddCodePageOption(CLI::App* command, unsigned& codePage);

}  // namespace vpack
