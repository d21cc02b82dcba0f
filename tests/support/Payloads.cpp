#include "tests/support/Payloads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "payload/EngineFiles.h"
#include "payload/ProjectTypes.h"

namespace testing_support {

packager::Bytes B(const std::string& text) { return packager::Bytes(text.begin(), text.end()); }
std::string Str(const packager::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

void AddSettings(packager::PayloadBuilder& payload, const InstallSettings& settings) {
  const std::map<std::string, uint8_t> flags = {{payload::kCheckDx8.name, settings.checkDx8},
                                                {payload::kRunAfterInstall.name, settings.runAfterInstall},
                                                {payload::kDoQuitCgr.name, settings.doQuitCgr},
                                                {payload::kDoSmallPreview.name, settings.doSmallPreview},
                                                {payload::kWinampVersion.name, settings.winampVersion}};
  const std::map<std::string, std::string> texts = {{payload::kInstallPath.name, settings.installPath},
                                                    {payload::kStartupDirectory.name, settings.installPath},
                                                    {payload::kShortCutName.name, settings.shortcutName},
                                                    {payload::kProjectName.name, settings.projectName}};
  payload.AddU32(payload::kProjectTypeSetting.name, settings.projectType);
  const payload::ProjectTypeInfo* type = payload::FindProjectType(settings.projectType);
  for (uint32_t i = 0; type != nullptr && i < type->settingCount; ++i) {
    std::string name = type->settings[i]->name;
    if (name == payload::kRunAfterInstall.name && !settings.withRunAfterInstall) continue;
    if (type->settings[i]->size == payload::kTextSettingSize) {
      payload.AddText(name, texts.at(name));
    } else {
      payload.AddFlag(name, flags.at(name));
    }
  }
}

void AddEngineFiles(packager::PayloadBuilder& payload, const std::function<packager::Bytes(const char*)>& module,
                    const packager::Bytes& start, const char* skip) {
  for (const payload::EngineFile& file : payload::kEngineFiles) {
    if (skip != nullptr && std::string(file.name) == skip) continue;
    if (file.decode != 0) {
      payload.AddPacked(file.name, module(file.name));
    } else {
      payload.AddRaw(file.name, start);
    }
  }
}

std::string InstallerImage(const std::string& stub, const packager::PayloadBuilder& payload) {
  return stub + Str(payload.Build(static_cast<uint32_t>(stub.size())));
}

namespace {

packager::Item* FindItem(packager::PayloadBuilder& payload, const std::string& name) {
  for (packager::Item& item : payload.Items()) {
    if (item.name == name) return &item;
  }
  return nullptr;
}

}  // namespace

packager::Bytes& DataOf(packager::PayloadBuilder& payload, const std::string& name) {
  if (packager::Item* item = FindItem(payload, name)) return item->data;
  ADD_FAILURE() << "no item " << name;
  static packager::Bytes none;
  none.clear();
  return none;
}

void AddProjectFiles(packager::PayloadBuilder& payload, const std::map<std::string, packager::Bytes>& stored) {
  const std::string prefix = packager::ListEntryPrefix(packager::ListKind::kProjectFiles);
  const std::string type = packager::ListType(packager::ListKind::kProjectFiles);
  std::vector<std::string> names;
  for (int i = 0;; ++i) {
    auto& items = payload.Items();
    auto entry = std::find_if(items.begin(), items.end(), [&](const packager::Item& item) {
      return item.type == type && item.name == prefix + std::to_string(i);
    });
    if (entry == items.end()) break;
    names.push_back(std::string(entry->data.begin(), std::find(entry->data.begin(), entry->data.end(), 0)));
    items.erase(entry);
  }
  RemoveItem(payload, packager::ListCountName(packager::ListKind::kProjectFiles), type);
  for (const auto& [name, data] : stored) {
    names.push_back(name);
    payload.AddRaw(name, data);
  }
  payload.AddList(packager::ListKind::kProjectFiles, names);
}

bool ReplaceItem(packager::PayloadBuilder& payload, const std::string& name, const packager::Bytes& data) {
  packager::Item* item = FindItem(payload, name);
  if (item != nullptr) item->data = data;
  return item != nullptr;
}

bool RemoveItem(packager::PayloadBuilder& payload, const std::string& name, const std::string& type) {
  auto& items = payload.Items();
  for (auto it = items.begin(); it != items.end(); ++it) {
    if (it->name == name && it->type == type) {
      items.erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace testing_support
