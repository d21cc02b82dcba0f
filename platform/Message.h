#pragma once
// Every message box of the stub goes through ShowMessage, so that tests can
// replace the dialog by a recorder with scripted answers.
#include <stdint.h>

namespace message {

enum : uint32_t {
  kOk = 0x0,
  kYesNo = 0x4,
  kIconError = 0x10,
  kIconWarning = 0x30,
  kIconInformation = 0x40,
};

enum : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };

using Hook = int (*)(void* context, const char* text, const char* caption, uint32_t type);

// Null restores the real message box.
void SetHook(Hook hook, void* context);

// Shows a message box with no owner window and returns the button pressed.
int Show(const char* text, const char* caption, uint32_t type);

#ifdef _WIN32
// The same for texts the ANSI code page cannot hold, such as a folder the
// user's name is part of; a hook sees them in UTF-8.
int ShowWide(const wchar_t* text, const wchar_t* caption, uint32_t type);
#endif

// The common report of a missing payload item: "Can't find project type "
// followed by the item's name, caption "Error".
void ReportMissingItem(const char* name);

// A file of the installation that could not be written: "Installation Error",
// asking the user to close what may be locking it.
extern const char kCopyFailure[];
void ReportCopyFailure();

}  // namespace message
