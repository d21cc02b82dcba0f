#pragma once
// Item names are paths below the working folder; the payload is not trusted
// to keep them there. Each rule takes the code page the name is in: in a
// double-byte one (platform/DoubleByte.h) a second byte may be 0x5C, which is
// no separator there, or '|', no forbidden character. Code page 0, or any
// single-byte one, reads every byte as a character of its own.

#include <stddef.h>

namespace payload {

// False for a name with a ".." component or a ':' (drive letter or stream):
// either would let a payload write outside the working folder.
bool IsSafeItemName(const char* name, unsigned codePage = 0);

// False for a name Windows cannot create as a file below a folder: a
// character it forbids in file names (control characters and <>:"|?*), a
// device name as a component (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with any
// extension: "com1.txt"), a component ending in a dot or a space (Windows
// drops them, so two items would land in one file), an empty or "."
// component, or no file name at the end. A single leading separator is
// allowed: the installer joins the name to its folder with one anyway. The
// packager and verify apply it to every item, so that an installer never
// stops halfway on a name it cannot write; the stub applies it only to an
// installation folder it is given (payload/WindowsFileName.cpp).
bool IsWindowsFileName(const char* name, unsigned codePage = 0);

// Which rule of IsWindowsFileName a name breaks, the first one met from its
// start, so that the packager can say why; it refuses everything
// IsSafeItemName refuses, as kParentFolder or kDriveOrStream.
enum class NameFault {
  kNone,
  kEmpty,                // no name at all
  kParentFolder,         // a ".." component
  kDriveOrStream,        // a ':'
  kForbiddenCharacter,   // a control character or one of <>"|?*
  kDeviceName,           // CON, PRN, AUX, NUL, COM1-9, LPT1-9, any extension
  kTrailingDotOrSpace,   // Windows drops them: two items would be one file
  kEmptyComponent,       // a doubled or trailing separator, or "."
};

// at, when given, receives the offset of the offending character (for a
// character fault) or of the offending component's start.
NameFault WindowsNameFault(const char* name, size_t* at = nullptr, unsigned codePage = 0);

// The fault as a phrase for messages: "has a \"..\" component", ...
const char* NameFaultText(NameFault fault);

}  // namespace payload
