// A file another program holds: a player with the plug-in loaded, a viewer
// or screen saver still open, a virus scanner reading it for a moment. The
// earlier copy stays whole throughout; the installation waits a little, then
// asks the user to close the program, and goes on when it is let go.
#include "installer/Installer.h"
#include "platform/Message.h"
#include "platform/Text.h"

namespace installer {
namespace {

// A scanner lets go within a second or two; a program the user must close
// does not, and is asked for after about five.
constexpr int kQuietTries = 20;
constexpr DWORD kQuietWaitMs = 250;

// Only a file another program holds is worth waiting for. Windows answers
// "access denied" for a running program's file as well as for a folder, a
// read-only file or one whose permissions deny writing; asked again with
// every sharing allowed, the program's file answers a sharing violation and
// the denied one access denied again. A file this process holds itself (the
// engine it loaded, the installer) is let go by nobody.
bool IsHeld(const char* target, DWORD error) {
  if (GetModuleHandleA(target) != nullptr) return false;
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_USER_MAPPED_FILE) return true;
  DWORD attributes = GetFileAttributesA(target);
  if (error != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
    return false;
  }
  HANDLE probe = CreateFileA(target, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
  // Writable now: whatever denied it a moment ago (a scanner, a file being
  // deleted) has let go, and the next try can succeed.
  CloseHandle(probe);
  return true;
}

}  // namespace

bool Installer::WaitWhileHeld(const char* target, DWORD error, int* tries) {
  NoteFailure(FailureKind::kCopyFailure, target, error);
  if (!IsHeld(target, error)) return false;
  if (++*tries <= kQuietTries) {
    for (DWORD waited = 0; waited < kQuietWaitMs; waited += 50) {
      KeepWindowsAnswering();
      Sleep(50);
    }
    return true;
  }
  // Silent, nobody can close the program: the copy failure, with the file
  // and the system's reason, goes to the log.
  if (unattended.silent) return false;
  if (ui::Tell(messages::Id::kFileHeld, target) == message::kAnswerRetry) {
    *tries = 0;
    return true;
  }
  // The user's own choice: nothing more to say.
  exitCode = kExitCancelled;
  return Told();
}

}  // namespace installer
