#pragma once
// Walking a [[folder]] entry of the manifest (FolderSpec, Manifest.h).
#include <string>

#include "vpack/manifest/Manifest.h"

namespace vpack {

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
