#pragma once
// Names the installation itself gives to what it leaves on the user's
// machine: the stub writes them, and the packager keeps a project's own
// names clear of them and within what they leave room for.
#include <stddef.h>
#include <string.h>

#include "platform/BesideName.h"
#include "platform/Text.h"

namespace payload {

using platform::kBesideSuffix;

// Whether the installer would take a file of this name for such a copy and
// remove it; Windows ignores the case.
inline bool EndsWithBesideSuffix(const char* name) {
  size_t length = strlen(name), suffix = sizeof(kBesideSuffix) - 1;
  return length >= suffix && text::EqualNoCase(name + length - suffix, kBesideSuffix);
}

// The uninstall record, and the plain list of its entries beside it that the
// next installation over this one reads back.
inline constexpr char kRecordName[] = "uninstall.nfo";
inline constexpr char kEntryListName[] = "uninstall.lst";

// The uninstall entry's key: this, then the project name.
inline constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vandrel";

// Windows refuses a key whose name (one component of its path) is longer.
constexpr size_t kMaxRegistryKeyName = 255;

// What the project name shares its key's name with.
constexpr size_t UninstallEntryPrefixLength() {
  size_t start = 0, end = 0;
  while (kUninstallKey[end] != '\0') {
    if (kUninstallKey[end] == '\\') start = end + 1;
    ++end;
  }
  return end - start;
}

// The longest project name whose uninstall entry Windows can make.
constexpr size_t kMaxProjectName = kMaxRegistryKeyName - UninstallEntryPrefixLength();

}  // namespace payload
