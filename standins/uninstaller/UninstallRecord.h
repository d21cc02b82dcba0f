#pragma once
// "uninstall.nfo": what an installation created, read back from its chunks.
#include <string>
#include <vector>

#include "standins/chunks/ChunkFile.h"

namespace uninstaller {

struct UninstallRecord {
  std::vector<std::string> files;
  std::vector<std::string> folders;  // newest first, children before parents
  std::string projectName;
  bool skipMarker = false;  // the screen-saver and plug-in installs end in UNSK
};

// False, with the reason in *why, for anything but the exact layout the
// installer writes; a half-understood record must not steer any deletion.
bool ParseUninstallRecord(const std::vector<chunks::Chunk>& chunks, UninstallRecord* record, std::string* why);

}  // namespace uninstaller
