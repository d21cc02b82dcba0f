#include "vpack/pack/DryRun.h"

#include <stdio.h>

#include <nlohmann/json.hpp>

#include "payload/ProjectTypes.h"
#include "vpack/base/CodePage.h"
#include "vpack/plan/PayloadPlan.h"
#include "vpack/read/VersionJson.h"
#include "vpack/rules/StorageRules.h"

namespace vpack {
namespace {

using Json = nlohmann::ordered_json;

// A setting's value as list --json shows the installer's: numbers as
// numbers, texts as text.
Json SettingJson(const SettingValue& setting) {
  if (setting.info->kind == SettingKind::kText) return setting.text;
  return setting.number;
}

// Every setting the installer will hold, the recorded code page too, in the
// shape of list --json's.
Json SettingsJson(const Manifest& manifest) {
  Json settings = Json::object();
  for (const SettingValue& setting : manifest.settings) settings[setting.info->name] = SettingJson(setting);
  settings[payload::kCodePageSetting.name] = manifest.codePage;
  return settings;
}

// The languages in place of the English, each by key, as list --json shows them.
Json LanguagesJson(const Manifest& manifest) {
  Json languages = Json::object();
  for (const LanguageTexts& language : manifest.languages) {
    Json shown = Json::object();
    for (const TextValue& text : language.texts) shown[texts::Key(text.id)] = text.text;
    languages[language.tag] = {
        {"id", language.id}, {"default", language.tag == manifest.defaultLanguage}, {"texts", shown}};
  }
  return languages;
}

Json BrandingJson(const Branding& branding) {
  if (branding.Empty()) return nullptr;
  Json icon = branding.icon.empty() ? Json(nullptr) : Json(branding.iconPath);
  return {{"icon", icon}, {"version", VersionJson(branding.version)}};
}

Json SigningJson(const SigningCommand& signing) {
  if (signing.Empty()) return nullptr;
  Json command = signing.shellText.empty() ? Json(signing.arguments) : Json(signing.shellText);
  return {{"command", command}, {"entry", signing.entry}};
}

Json PlanJson(const Manifest& manifest, const std::string& stub, const CodePage& page) {
  Json plan = {{"manifest", manifest.path},
               {"stub", stub},
               {"code-page", manifest.codePage},
               {"signed", !manifest.signing.Empty()}};
  plan["settings"] = SettingsJson(manifest);
  plan["setting-entries"] = Json::object();
  for (const SettingValue& setting : manifest.settings) plan["setting-entries"][setting.info->name] = setting.entry;
  plan["default-language"] = manifest.defaultLanguage;
  SpaceKiB space = SpaceNeededOf(manifest);
  plan["space-needed"] = {{"folder-kib", space.folder}, {"module-kib", space.module}};
  nlohmann::ordered_json licences = nlohmann::ordered_json::object();
  for (const LicenceSpec& licence : manifest.licences) {
    licences[licence.tag] = {{"file", licence.path}, {"bytes", licence.stored.size()}, {"entry", licence.entry}};
  }
  plan["licences"] = licences;
  plan["languages"] = LanguagesJson(manifest);
  plan["branding"] = BrandingJson(manifest.branding);
  plan["signing"] = SigningJson(manifest.signing);
  plan["items"] = Json::array();
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

void PrintPlanText(const Manifest& manifest, const std::string& stub, const CodePage& page) {
  printf("vpack: %s: would write %zu settings and %zu files after %s; nothing written\n", manifest.path.c_str(),
         manifest.settings.size() + 1, manifest.files.size(), stub.c_str());
  for (const SettingValue& setting : manifest.settings) {
    printf("setting %s = %s  (%s)\n", setting.info->name, SettingJson(setting).dump().c_str(), setting.entry.c_str());
  }
  printf("setting %s = %u  (code-page)\n", payload::kCodePageSetting.name, manifest.codePage);
  for (const LanguageTexts& language : manifest.languages) {
    printf("language %s: %zu of %d texts%s  (%s)\n", language.tag.c_str(), language.texts.size(), texts::kTextCount,
           language.tag == manifest.defaultLanguage ? ", the default" : "", language.entry.c_str());
    for (const TextValue& text : language.texts) {
      printf("text %s %s = %s  (%s)\n", language.tag.c_str(), texts::Key(text.id), Json(text.text).dump().c_str(),
             text.entry.c_str());
    }
  }
  if (manifest.defaultLanguage != "en") printf("default language: %s\n", manifest.defaultLanguage.c_str());
  for (const LicenceSpec& licence : manifest.licences) {
    printf("licence %s: %s, %zu bytes  (%s)\n", licence.tag.c_str(), licence.path.c_str(), licence.stored.size(),
           licence.entry.c_str());
  }
  SpaceKiB space = SpaceNeededOf(manifest);
  printf("space needed: %llu KiB in the installation folder, %llu KiB in the system or player folder\n",
         static_cast<unsigned long long>(space.folder), static_cast<unsigned long long>(space.module));
  Json branding = BrandingJson(manifest.branding);
  printf("branding: %s\n", branding.is_null() ? "none, the stub's own icon and version" : branding.dump().c_str());
  Json signing = SigningJson(manifest.signing);
  printf("signing: %s\n", signing.is_null() ? "none, the installer is not signed" : signing.dump().c_str());
  for (const FileSpec& file : manifest.files) {
    printf("%s  %s%s, list %s, from %s  (%s)\n", page.ToUtf8(file.name).c_str(), StoreLabel(file.store),
           file.alreadyEncoded ? " (already so, stored as it is)" : "", file.list ? ListLabel(*file.list) : "none",
           file.source.c_str(), file.entry.c_str());
  }
}

}  // namespace

int PrintPlan(const Manifest& manifest, const std::string& stub, bool json) {
  CodePage page(manifest.codePage);
  if (json) {
    // Paths from the disk need not be UTF-8; JSON must be.
    printf("%s\n", PlanJson(manifest, stub, page).dump(2, ' ', false, Json::error_handler_t::replace).c_str());
    return 0;
  }
  PrintPlanText(manifest, stub, page);
  return 0;
}

}  // namespace vpack
