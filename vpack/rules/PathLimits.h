#pragma once
// Where the installation writes each file, held against what Windows' ANSI
// file functions take: a path of at most 259 characters, and a folder made
// by CreateDirectoryA of at most 247 (payload::kMaxFolderPath). pack and
// verify judge by this one rule, in the same words.
#include <stdint.h>

#include <string>
#include <vector>

#include "payload/InstalledNames.h"
#include "payload/PayloadFormat.h"
#include "vpack/base/CodePage.h"

namespace vpack {

constexpr size_t kMaxAnsiPath = 259;
constexpr size_t kMaxAnsiFolder = payload::kMaxFolderPath;

struct PathFindings {
  std::vector<std::string> errors;    // no installation can create these
  std::vector<std::string> warnings;  // these need a short folder
};

// The setting that holds the folder the project type installs into, or
// null for a run in place, which writes below the user's temporary folder.
const char* InstallFolderSetting(uint32_t projectType);

// names are item names and folder that setting's text (empty for a run in
// place), in the payload's code page; messages show them in UTF-8.
PathFindings CheckInstalledPaths(uint32_t projectType, std::string folder, const std::vector<std::string>& names,
                                 const CodePage& page);

}  // namespace vpack
