#pragma once
// The plain-text log an administrator asks for: each step, each file made,
// each message the installer shows (or, silent, would have shown). Lines are
// UTF-8 whatever the code page, one line per entry. Nothing is written until
// a file is given.
#include <windows.h>

namespace logfile {

// The file to write to from now on; the caller keeps it open and owns it.
void Use(HANDLE file);
// "first: second", or "first" alone; texts in the ANSI code page.
void Line(const char* first, const char* second = nullptr);
// The same for texts the code page cannot hold.
void LineWide(const wchar_t* first, const wchar_t* second);

}  // namespace logfile
