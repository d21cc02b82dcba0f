#pragma once
// A [[folder]] entry of the manifest: every file below a folder, picked by
// patterns, placed below a target folder of the installation.
#include <optional>
#include <string>
#include <vector>

#include "vpack/Manifest.h"

namespace vpack {

struct FolderSpec {
  std::string source;                // resolved
  std::string target;                // item-name prefix with backslashes; empty for the top
  std::vector<std::string> include;  // empty: every file
  std::vector<std::string> exclude;
  bool listGiven = false;            // else each file gets the list its name calls for
  std::optional<packager::ListKind> list;
  std::optional<Store> store;        // else each file gets the store its name calls for
  std::string entry;                 // how messages name the entry
};

// One FileSpec per regular file that the patterns take, in no set order.
// Folders reached through symbolic links are not entered, so that a link
// cannot walk the tree in a circle. Throws Error for a source that is not a
// folder or holds something other than files and folders.
std::vector<FileSpec> ExpandFolder(const FolderSpec& folder, std::vector<std::string>& warnings);

// A pattern with a "/" matches the path below the folder ("*" crossing
// folders); one without matches the file's name alone. Case is ignored, as
// on Windows.
bool MatchesPattern(const std::string& pattern, const std::string& relativePath);

}  // namespace vpack
