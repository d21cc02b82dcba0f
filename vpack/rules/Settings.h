#pragma once
// The settings the installer reads, with the width it reads each one at. The
// stub reads a fixed number of bytes per setting, so a wrong width is as bad
// as a missing setting.
#include <stdint.h>

#include "payload/ProjectTypes.h"

#include <string>
#include <vector>

namespace vpack {

enum class SettingKind {
  kNumber,  // 4 bytes, little-endian
  kFlag,    // 1 byte
  kText,    // payload::kTextSettingSize bytes: text, terminator, zero fill
};

struct SettingInfo {
  const char* name;
  SettingKind kind;
};

// Every known setting, in the order vpack writes them.
const std::vector<SettingInfo>& KnownSettings();
// Null when the name is not a setting (names compare exactly, as in TOML).
const SettingInfo* FindSetting(const std::string& name);
uint32_t SettingWidth(SettingKind kind);

constexpr const char* kProjectType = payload::kProjectTypeSetting.name;
// Longest text that fits a text setting with its terminator.
constexpr size_t kMaxSettingText = payload::kTextSettingSize - 1;

// Settings the installer reads for a project type, besides ProjectType and
// the three list counts; empty for the types that do nothing.
std::vector<const char*> RequiredSettings(uint32_t projectType);
// Settings a project type reads where the payload has them and does
// without otherwise: the installing types' uninstall entry says which
// version of whose product it removes (DisplayVersion, Publisher).
std::vector<const char*> OptionalSettings(uint32_t projectType);
// The installing project types need an administrator.
bool InstallsProject(uint32_t projectType);

}  // namespace vpack
