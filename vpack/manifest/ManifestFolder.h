#pragma once
// A [[folder]] entry of the manifest: every file below a folder, picked by
// patterns, placed below a target folder of the installation.
#include <optional>
#include <string>
#include <vector>

#include "vpack/manifest/Manifest.h"

namespace vpack {

struct FolderSpec {
  std::string source;                // resolved
  std::string target;                // item-name prefix with backslashes; empty for the top
  std::vector<std::string> include;  // empty: every file
  std::vector<std::string> exclude;
  bool listGiven = false;            // else each file gets the list its name calls for
  std::optional<packager::ListKind> list;
  std::optional<Store> store;        // else each file gets the store its name calls for
  bool takeLitter = false;           // version-control and desktop files too
  std::string entry;                 // how messages name the entry
};

// Adds to into.files one FileSpec per regular file that the patterns take,
// in no set order, and counts the litter left out. Folders reached through
// symbolic links are not entered, so that a link cannot walk the tree in a
// circle; they, empty folders and a folder that gives no file are warned
// about. Throws Error for a source that is not a folder, a link to a file
// outside it, a folder that cannot be read or anything other than files and
// folders, naming the path.
void ExpandFolder(const FolderSpec& folder, Manifest& into);

// Version-control folders (.git, .svn, .hg), the files desktops leave
// (.DS_Store, Thumbs.db, desktop.ini) and editor backups ("name~"): nothing
// a publisher means to ship.
bool IsLitterName(const std::string& name);

}  // namespace vpack
