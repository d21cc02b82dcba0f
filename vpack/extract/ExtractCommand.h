#pragma once
// vpack extract: an installer's files written out as the installation
// writes them.
#include <memory>
#include <string>

#include "vpack/base/CodePage.h"
#include "vpack/base/Command.h"

namespace vpack {

// The files as the installation places them, below folder: the program files
// inflated, the files the engine decodes decoded (keepEncoded: as stored).
// File names and messages are in UTF-8, the names read in codePage.
int Extract(const std::string& installer, const std::string& folder, bool keepEncoded = false,
            unsigned codePage = kRecordedCodePage, bool quiet = false);

// `extract` on the command line, its options and help text.
std::unique_ptr<Command> ExtractCommand(CLI::App& app);

}  // namespace vpack
