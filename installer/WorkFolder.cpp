// The run-in-place flow's working folder below the temporary folder.
#include "installer/Installer.h"
#include "platform/Text.h"

namespace installer {

namespace {

constexpr int32_t kLastCandidate = 10000;

}  // namespace

// Only a folder made by this very call is taken. An existing one may belong
// to another run of the same installer still in progress, which deletes its
// folder when it ends, whatever this run has put there meanwhile.
bool Installer::CreateTempWorkDir() {
  char temp[kWorkFolderSize];
  DWORD length = GetTempPathA(sizeof(temp), temp);
  if (length == 0 || length >= sizeof(temp)) return false;
  for (int32_t counter = 0; counter <= kLastCandidate; ++counter) {
    char candidate[kWorkFolderSize];
    text::CopyAtMost(candidate, temp, sizeof(candidate) - 1);
    // A temporary path too long for the name is refused, not cut.
    if (!text::Append(candidate, sizeof(candidate), "Vandrel") ||
        !text::AppendDecimal(candidate, sizeof(candidate), static_cast<uint32_t>(counter))) {
      return false;
    }
    if (CreateDirectoryA(candidate, nullptr)) {
      text::CopyAtMost(workFolder, candidate, sizeof(workFolder) - 1);
      return true;
    }
    // Any failure but an existing name will not go away with another number
    // (no write access, a missing temporary folder).
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

}  // namespace installer
