#pragma once
// How the installer treats a file item is decided by its name alone: a fixed
// set of program files is inflated on installation, the files the engine
// loads must already be in the engine format, everything else is copied.
#include <string>

namespace vpack {

// Files the installer inflates (zlib stream plus 4-byte unpacked size).
bool IsPackedName(const std::string& name);

// The engine's start file, which no list names but which must be in the
// engine format all the same.
constexpr char kStartFileName[] = "VDLStart.vdl";
bool IsStartFile(const std::string& name);

// Item names compare as the installer compares them: ASCII case ignored.
bool SameItemName(const std::string& a, const std::string& b);

}  // namespace vpack
