#pragma once
// What the installer adds to a file's name for the new copy it writes beside
// an earlier one: a name no one else gives a file, so that one found there is
// known to be left by an installation that was ended before it could put the
// copy in place, and is removed. A header of its own, without Windows, so
// that the packager keeps a project's names clear of it.

namespace platform {

inline constexpr char kBesideSuffix[] = "~vdlnew";

}  // namespace platform
