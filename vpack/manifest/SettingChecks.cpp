#include "vpack/manifest/SettingChecks.h"

#include <algorithm>

#include "payload/ProjectTypes.h"
#include "vpack/base/Error.h"
#include "vpack/rules/SettingValues.h"

namespace vpack {
namespace {

bool Is(const SettingValue& setting, const payload::Setting& which) {
  return std::string(setting.info->name) == which.name;
}

}  // namespace

void CheckSettings(Manifest& manifest, uint32_t projectType, std::vector<std::string>& problems) {
  std::vector<const char*> read = RequiredSettings(projectType);
  for (const char* name : OptionalSettings(projectType)) read.push_back(name);
  for (const SettingValue& setting : manifest.settings) {
    if (Is(setting, payload::kProjectTypeSetting)) continue;
    bool used = std::any_of(read.begin(), read.end(),
                            [&](const char* name) { return setting.info->name == std::string(name); });
    if (!used) {
      manifest.warnings.push_back(setting.entry + ": project type " + std::to_string(projectType) +
                                  " never reads it, so it changes nothing");
      continue;
    }
    std::string problem = SettingValueProblem(setting.info->name, setting.stored, projectType, manifest.codePage);
    if (!problem.empty()) problems.push_back(setting.entry + " (" + Quoted(setting.text) + ") " + problem);
  }
}

}  // namespace vpack
