#include "standins/uninstaller/Uninstall.h"

#include <windows.h>

#include <vector>

#include "standins/chunks/ChunkFile.h"
#include "standins/uninstaller/FileRemoval.h"
#include "standins/uninstaller/KeyRemoval.h"
#include "standins/uninstaller/SelfCopy.h"
#include "standins/uninstaller/UninstallLog.h"
#include "standins/uninstaller/UninstallRecord.h"

namespace uninstaller {
namespace {

bool ReadRecord(const std::string& path, UninstallRecord* record, std::string* why) {
  std::vector<chunks::Chunk> chunks;
  if (!chunks::ReadChunkFileFromPath(path, &chunks)) {
    *why = "cannot read " + path + " as a chunk file";
    return false;
  }
  if (!ParseUninstallRecord(chunks, record, why)) return false;
  // An empty name would make the key paths those of the parent keys.
  if (record->projectName.empty()) {
    *why = "empty project name";
    return false;
  }
  if (record->projectName.find('\\') != std::string::npos) {
    *why = "project name with a backslash: " + record->projectName;
    return false;
  }
  return true;
}

// Out of the installation folder, so that being in it does not keep it.
void LeaveFolder() {
  char temporary[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof(temporary), temporary);
  if (length > 0 && length < sizeof(temporary)) SetCurrentDirectoryA(temporary);
}

}  // namespace

int UninstallFolder(const std::string& folder) {
  LogLine("Uninstall start " + folder);
  std::string recordPath = folder + "\\uninstall.nfo";
  UninstallRecord record;
  std::string why;
  if (!ReadRecord(recordPath, &record, &why)) {
    LogLine("Uninstall refused " + why);
    return kExitRefused;
  }
  LeaveFolder();
  std::string self = OwnProgramPath();
  for (const std::string& file : record.files) RemoveRecordedFile(file, self);
  RemoveRecordedFile(recordPath, self);
  for (const std::string& path : record.folders) RemoveRecordedFolder(path);
  RemoveInstallationFolder(folder);
  RemoveProjectKeys(record.projectName);
  return kExitDone;
}

}  // namespace uninstaller
