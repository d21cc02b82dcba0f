#pragma once
// What an administrator may put on the installer's command line, in the
// forms other installers have taught them: "/S" silent, "/LOG=FILE", "/LANG=TAG", and
// "/D=PATH" last, spaces and all. A switch may be quoted, whole or after its
// "=", as launchers do; quotes are never part of a name. Case does not
// matter. Anything
// else is ignored, so that a launcher that passes arguments of its own
// keeps working; with no arguments the installer is what it always was.
#include <windows.h>

#include "installer/Unattended.h"

namespace app {

struct CommandLine {
  // "/S", and the rest of the line after "/D=", its trailing spaces removed
  // (null when not given).
  installer::Unattended unattended;
  // Empty when not given.
  const wchar_t* log;
  // The tag of the language to show ("/LANG=de"); empty when not given.
  const wchar_t* language;
};

// Splits a copy of line into the result; the pointers point into that copy,
// which lives as long as the process.
void ReadCommandLine(const wchar_t* line, CommandLine* result);

}  // namespace app
