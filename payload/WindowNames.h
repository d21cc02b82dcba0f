#pragma once
// The hidden main window's names. The engine is told the class name and
// refuses to start for any other, so the application and the installer must
// agree on it, and vpack takes a program without it for no stub of ours.

namespace names {

inline constexpr char kMainWindowTitle[] = "VandrelExe";
inline constexpr char kMainWindowClass[] = "VandrelExe Window";

}  // namespace names
