#pragma once
// The publisher's licence, to be accepted before anything else is asked:
// its text in a box that scrolls, a check box to tick, and Next only once
// it is ticked.
#include <windows.h>

namespace ui {

enum class LicenceAnswer { kAccepted, kCancelled, kNotShown };

// text: the licence in UTF-16 with CRLF line ends. kNotShown, with the
// system's reason in *error, when the dialog could not be made.
LicenceAnswer ShowLicence(HINSTANCE instance, HWND parent, const wchar_t* text, DWORD* error);

}  // namespace ui
