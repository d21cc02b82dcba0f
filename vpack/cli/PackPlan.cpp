#include "vpack/cli/PackPlan.h"

#include <stdio.h>

#include <nlohmann/json.hpp>

#include "vpack/base/CodePage.h"
#include "vpack/rules/StorageRules.h"

namespace vpack {
namespace {

std::string SettingText(const SettingValue& setting, const CodePage& page) {
  return setting.info->kind == SettingKind::kText ? page.ToUtf8(setting.text) : std::to_string(setting.number);
}

nlohmann::json PlanJson(const Manifest& manifest, const std::string& stub, const CodePage& page) {
  nlohmann::json plan = {{"manifest", manifest.path},
                         {"stub", stub},
                         {"code-page", manifest.codePage},
                         {"signed", !manifest.signing.Empty()}};
  plan["settings"] = nlohmann::json::array();
  for (const SettingValue& setting : manifest.settings) {
    plan["settings"].push_back(
        {{"name", setting.info->name}, {"value", SettingText(setting, page)}, {"entry", setting.entry}});
  }
  plan["items"] = nlohmann::json::array();
  for (const FileSpec& file : manifest.files) {
    plan["items"].push_back({{"name", page.ToUtf8(file.name)},
                             {"source", file.source},
                             {"store", StoreLabel(file.store)},
                             {"already-encoded", file.alreadyEncoded},
                             {"list", file.list ? ListLabel(*file.list) : "none"},
                             {"size", file.size},
                             {"entry", file.entry}});
  }
  return plan;
}

}  // namespace

int PrintPlan(const Manifest& manifest, const std::string& stub, bool json) {
  CodePage page(manifest.codePage);
  if (json) {
    // Paths from the disk need not be UTF-8; JSON must be.
    printf("%s\n",
           PlanJson(manifest, stub, page).dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
    return 0;
  }
  printf("vpack: %s: would write %zu settings and %zu files after %s; nothing written\n", manifest.path.c_str(),
         manifest.settings.size(), manifest.files.size(), stub.c_str());
  for (const SettingValue& setting : manifest.settings) {
    printf("setting %s = %s  (%s)\n", setting.info->name, SettingText(setting, page).c_str(), setting.entry.c_str());
  }
  for (const FileSpec& file : manifest.files) {
    printf("%s  %s%s, list %s, from %s  (%s)\n", page.ToUtf8(file.name).c_str(), StoreLabel(file.store),
           file.alreadyEncoded ? " (already so, stored as it is)" : "",
           file.list ? ListLabel(*file.list) : "none", file.source.c_str(), file.entry.c_str());
  }
  return 0;
}

}  // namespace vpack
