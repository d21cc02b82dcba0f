#pragma once
// vpack list: an installer's items, settings and stub version.
#include <memory>
#include <string>

#include "vpack/base/Command.h"

namespace vpack {

// Per item its store, unpacked size and the lists naming it; json for scripts.
// Names are shown in UTF-8, read in codePage.
int List(const std::string& installer, bool json, unsigned codePage);

// `list` on the command line, its options and help text.
std::unique_ptr<Command> ListCommand(CLI::App& app);

}  // namespace vpack
