// A file another program holds: a player with the plug-in loaded, a viewer
// or screen saver still open, a virus scanner reading it for a moment. The
// earlier copy stays whole throughout; the installation waits a little, then
// asks the user to close the program, and goes on when it is let go.
#include "installer/Installer.h"
#include "platform/FolderMessage.h"
#include "platform/Message.h"
#include "platform/Text.h"

namespace installer {
namespace {

// A scanner lets go within a second or two; a program the user must close
// does not, and is asked for after about five.
constexpr int kQuietTries = 20;
constexpr DWORD kQuietWaitMs = 250;

constexpr char kHeld[] = "This file is in use by another program:";
constexpr char kHeldAdvice[] = "Close the program, then press Retry; Cancel stops the installation.";

// Windows answers "access denied" for a program file that is running as
// well as for a folder or a read-only file, which no wait will change.
bool IsHeld(const char* target, DWORD error) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_USER_MAPPED_FILE) return true;
  DWORD attributes = GetFileAttributesA(target);
  return error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

}  // namespace

bool Installer::WaitWhileHeld(const char* target, DWORD error, int* tries) {
  NoteFailure(FailureKind::kCopy, target, error);
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
  if (silent) return false;
  wchar_t name[kWorkFolderSize];
  if (MultiByteToWideChar(CP_ACP, 0, target, -1, name, kWorkFolderSize) == 0) name[0] = 0;
  if (message::ShowAbout(kHeld, name, 0, kHeldAdvice, L"Installation Error",
                         message::kRetryCancel | message::kIconWarning) == message::kAnswerRetry) {
    *tries = 0;
    return true;
  }
  exitCode = kExitCancelled;
  NoteFailure(FailureKind::kReported, target, 0);
  return false;
}

}  // namespace installer
