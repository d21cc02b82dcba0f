#pragma once
// Item names are paths below the working folder; the payload is not trusted
// to keep them there.

namespace payload {

// False for a name with a ".." component or a ':' (drive letter or stream):
// either would let a payload write outside the working folder.
bool IsSafeItemName(const char* name);

// False for a name that Windows cannot create as a file below a folder: a
// character it forbids in file names, a component ending in a dot or a space
// (Windows drops those, so another file is written), a device name such as
// "CON" or "com1.txt", or a name ending in a separator. A leading separator is
// allowed: the installer joins the name to its folder with one anyway.
bool IsWindowsFileName(const char* name);

}  // namespace payload
