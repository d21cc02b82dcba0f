#include "vpack/Settings.h"

#include "payload/PayloadFormat.h"

namespace vpack {

const std::vector<SettingInfo>& KnownSettings() {
  static const std::vector<SettingInfo> settings = {
      {kProjectType, SettingKind::kNumber},
      {"CheckDx8", SettingKind::kFlag},
      {"RunAfterInstall", SettingKind::kFlag},
      {"DoQuitCgr", SettingKind::kFlag},
      {"DoSmallPreview", SettingKind::kFlag},
      {"WinampVersion", SettingKind::kFlag},
      {"InstallPath", SettingKind::kText},
      {"ShortCutName", SettingKind::kText},
      {"ProjectName", SettingKind::kText},
      {"StartupDirectory", SettingKind::kText},
  };
  return settings;
}

const SettingInfo* FindSetting(const std::string& name) {
  for (const SettingInfo& info : KnownSettings()) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

uint32_t SettingWidth(SettingKind kind) {
  switch (kind) {
    case SettingKind::kNumber: return 4;
    case SettingKind::kFlag: return 1;
    default: return payload::kTextSettingSize;
  }
}

std::vector<const char*> RequiredSettings(uint32_t projectType) {
  switch (projectType) {
    case 1: return {"CheckDx8"};
    case 2: return {"CheckDx8", "RunAfterInstall", "InstallPath", "ShortCutName", "ProjectName"};
    case 5: return {"CheckDx8", "RunAfterInstall", "InstallPath", "ProjectName", "DoQuitCgr", "DoSmallPreview"};
    case 6: return {"CheckDx8", "StartupDirectory", "ProjectName", "WinampVersion"};
    default: return {};
  }
}

}  // namespace vpack
