#pragma once
// Folders the system names in UTF-16 (the temporary folder, the Start menu,
// a folder the user chose) in the ANSI form the stub works with. A user's
// name outside the code page is part of many of them; the ANSI functions
// would turn it into question marks and fail on every file below.
#include <windows.h>

namespace platform {

// False where a character has no exact ANSI form (best fit would turn one
// letter into another, "\u014Ckami" into "Okami", and so name another
// folder), or where the text does not fit.
bool ConvertExactly(const wchar_t* wide, char* ansi, int size);

// The folder's text where the code page holds it, else its short name where
// that is plain enough. False where neither can stand for the folder (no
// short names on its volume, a folder that is not there), with the system's
// error, if any, as the last error.
bool AnsiFolder(const wchar_t* folder, char* ansi, int size);

}  // namespace platform
