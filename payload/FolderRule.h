#pragma once
// Which folders an installation may take as its own: one rule that the
// options dialog, the command line's /D=, the player's folder and vpack's
// InstallPath and StartupDirectory all ask, so that a folder vpack lets
// through is one the stub takes. Lengths are each side's own: the stub's
// in the system's code page, vpack's with the installed paths below.
#include "payload/ItemName.h"

namespace payload {

enum class FolderFault : unsigned char {
  kNone,
  kNotFull,     // neither a drive ("C:\") nor a share ("\\server\share\") to start from
  kRoot,        // a drive's or a share's root: its files are not the installation's own
  kNotAllowed,  // a name below the root Windows refuses; *nameFault says which
};

// path in codePage (0: every byte a character); one separator may end it.
FolderFault InstallFolderFault(const char* path, unsigned codePage, NameFault* nameFault = nullptr);

}  // namespace payload
