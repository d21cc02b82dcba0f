// The run-in-place flow's working folder below the temporary folder.
#include "installer/Installer.h"
#include "platform/AnsiFolder.h"
#include "platform/Text.h"

namespace installer {

namespace {

constexpr int32_t kLastCandidate = 10000;

}  // namespace

// Only a folder made by this very call is taken. An existing one may belong
// to another run of the same installer still in progress, which deletes its
// folder when it ends, whatever this run has put there meanwhile.
bool Installer::CreateTempWorkDir() {
  wchar_t wideTemp[kWorkFolderSize];
  DWORD length = GetTempPathW(kWorkFolderSize, wideTemp);
  if (length == 0 || length >= kWorkFolderSize) {
    wideTemp[0] = 0;
    NoteFailureWide(FailureKind::kNoWorkFolder, wideTemp, length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  char temp[kWorkFolderSize];
  if (!platform::AnsiFolder(wideTemp, temp, sizeof(temp))) {
    NoteFailureWide(FailureKind::kOutsideCodePage, wideTemp, GetLastError());
    return false;
  }
  DWORD error = ERROR_ALREADY_EXISTS;
  for (int32_t counter = 0; counter <= kLastCandidate && error == ERROR_ALREADY_EXISTS; ++counter) {
    char candidate[kWorkFolderSize];
    text::CopyAtMost(candidate, temp, sizeof(candidate) - 1);
    // A temporary path too long for the name is refused, not cut.
    if (!text::Append(candidate, sizeof(candidate), "Vandrel") ||
        !text::AppendDecimal(candidate, sizeof(candidate), static_cast<uint32_t>(counter))) {
      error = ERROR_FILENAME_EXCED_RANGE;
      break;
    }
    if (CreateDirectoryA(candidate, nullptr)) {
      text::CopyAtMost(workFolder, candidate, sizeof(workFolder) - 1);
      return true;
    }
    // Any failure but an existing name will not go away with another number
    // (no write access, a missing temporary folder).
    error = GetLastError();
  }
  // Nothing shows when a project runs in place, so a folder that cannot be
  // made must say so, or the user sees nothing happen at all.
  NoteFailureWide(FailureKind::kNoWorkFolder, wideTemp, error);
  return false;
}

}  // namespace installer
