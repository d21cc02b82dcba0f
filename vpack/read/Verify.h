#pragma once
// Everything the installer will check or rely on, checked with its own code
// where it has it: the same payload reader, CRC-32, inflater and name rules.
#include <string>
#include <vector>

#include "vpack/base/CodePage.h"

namespace vpack {

// One line per reason the installer would not do its job, in UTF-8 with the
// payload's names read in codePage; empty when it would. Throws Error when
// the file cannot be read at all.
std::vector<std::string> InstallerProblems(const std::string& path, size_t* itemCount = nullptr,
                                           unsigned codePage = kDefaultCodePage);

}  // namespace vpack
