#pragma once
// Every message box of the stub goes through Show or ShowWide, so that tests
// can replace the dialog by a recorder with scripted answers.
#include <stdint.h>

namespace message {

enum : uint32_t {
  kOk = 0x0,
  kYesNo = 0x4,
  kRetryCancel = 0x5,
  kIconError = 0x10,
  kIconWarning = 0x30,
  kIconInformation = 0x40,
};

enum : int { kAnswerOk = 1, kAnswerRetry = 4, kAnswerYes = 6, kAnswerNo = 7 };

// What a hook is given instead of a box: the text and caption in the ANSI
// code page, or, from ShowWide, in UTF-16 with the narrow pair null. Only a
// hook that reads them converts them: the stub's own only answers.
struct Box {
  const char* text;
  const char* caption;
  const wchar_t* wideText;
  const wchar_t* wideCaption;
  uint32_t type;
};
using Hook = int (*)(void* context, const Box& box);

// Null restores the real message box.
void SetHook(Hook hook, void* context);

// Shows a message box with no owner window and returns the button pressed.
int Show(const char* text, const char* caption, uint32_t type);

#ifdef _WIN32
// The same for texts the ANSI code page cannot hold, such as a folder the
// user's name is part of, or words in the publisher's language; the log
// takes logText and logCaption where given (the English, for administrators).
int ShowWide(const wchar_t* text, const wchar_t* caption, uint32_t type, const wchar_t* logText = nullptr,
             const wchar_t* logCaption = nullptr);
#endif

}  // namespace message
