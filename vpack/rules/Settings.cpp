#include "vpack/rules/Settings.h"

#include "payload/ProjectTypes.h"

namespace vpack {

namespace {

SettingKind KindOf(const payload::Setting& setting) {
  if (setting.size == payload::kNumberSize) return SettingKind::kNumber;
  if (setting.size == payload::kFlagSize) return SettingKind::kFlag;
  return SettingKind::kText;
}

}  // namespace

const std::vector<SettingInfo>& KnownSettings() {
  static const std::vector<SettingInfo> settings = [] {
    std::vector<SettingInfo> all;
    for (const payload::Setting* setting : payload::kAllSettings) all.push_back({setting->name, KindOf(*setting)});
    return all;
  }();
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
    case SettingKind::kNumber: return payload::kNumberSize;
    case SettingKind::kFlag: return payload::kFlagSize;
    default: return payload::kTextSettingSize;
  }
}

std::vector<const char*> RequiredSettings(uint32_t projectType) {
  std::vector<const char*> names;
  const payload::ProjectTypeInfo* info = payload::FindProjectType(projectType);
  if (info == nullptr) return names;
  for (uint32_t i = 0; i < info->settingCount; ++i) names.push_back(info->settings[i]->name);
  return names;
}

std::vector<const char*> OptionalSettings(uint32_t projectType) {
  if (!InstallsProject(projectType)) return {};
  return {payload::kDisplayVersion.name, payload::kPublisher.name, payload::kAboutUrl.name, payload::kHelpLink.name};
}

bool InstallsProject(uint32_t projectType) {
  const payload::ProjectTypeInfo* info = payload::FindProjectType(projectType);
  return info != nullptr && info->installs;
}

}  // namespace vpack
