#pragma once
// The stub's messages as the tests expect them, where more than one test
// needs them: the system's words for an error, and the message for a file
// the stub could not write (its text, the file, the system's words for why).
// Windows only.
#include <windows.h>

#include <string>

#include "tests/support/DocumentedMessages.h"

namespace testing_support {

inline const char* const kCopyError = kCopyFailureEnglish;

// The system's words for an error, as FormatMessage gives them (with the
// line end it ends them with).
std::string SystemReason(DWORD error);

// The copy message for path and error, as the stub hands it to a message box.
std::string CopyErrorFor(const std::string& path, DWORD error);

// A text as a message box shows it: no line end after the last line.
std::string AsShown(std::string text);

}  // namespace testing_support
