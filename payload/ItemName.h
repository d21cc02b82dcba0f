#pragma once
// Item names are paths below the working folder; the payload is not trusted
// to keep them there.

namespace payload {

// False for a name with a ".." component or a ':' (drive letter or stream):
// either would let a payload write outside the working folder.
bool IsSafeItemName(const char* name);

// False for a name Windows cannot create as a file below a folder: a
// character it forbids in file names (control characters and <>:"|?*), a
// device name as a component (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with any
// extension: "com1.txt"), a component ending in a dot or a space (Windows
// drops them, so two items would land in one file), an empty or "."
// component, or no file name at the end. A single leading separator is
// allowed: the installer joins the name to its folder with one anyway. The
// stub does not apply this rule (payload/WindowsFileName.cpp, which it does
// not link); the packager and verify do, so that an installer never stops
// halfway on a name it cannot write.
bool IsWindowsFileName(const char* name);

}  // namespace payload
