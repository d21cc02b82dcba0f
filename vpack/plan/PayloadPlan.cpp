#include "vpack/plan/PayloadPlan.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <map>

#include "packager/LanguageBlock.h"
#include "payload/Languages.h"
#include "payload/Licence.h"
#include "payload/PayloadFormat.h"
#include "payload/ProjectTypes.h"
#include "payload/RuntimeFiles.h"
#include "payload/SpaceNeeded.h"
#include "payload/TextItems.h"
#include "vpack/base/Error.h"

namespace vpack {
namespace {

void AddSetting(packager::PayloadBuilder& builder, const SettingValue& setting) {
  switch (setting.info->kind) {
    case SettingKind::kNumber:
      builder.AddU32(setting.info->name, setting.number);
      break;
    case SettingKind::kFlag:
      builder.AddFlag(setting.info->name, static_cast<uint8_t>(setting.number));
      break;
    case SettingKind::kText:
      // The manifest has already refused texts that do not fit.
      if (!builder.AddText(setting.info->name, setting.stored)) {
        throw Error("setting " + Quoted(setting.info->name) + " does not fit its field");
      }
      break;
  }
}

void AddLists(packager::PayloadBuilder& builder, const std::vector<FileSpec>& files) {
  using packager::ListKind;
  for (ListKind kind : {ListKind::kChannels, ListKind::kChannelModules, ListKind::kProjectFiles}) {
    std::vector<std::string> names;
    for (const FileSpec& file : files) {
      if (file.list == kind) names.push_back(file.name);
    }
    builder.AddList(kind, names);
  }
}

uint32_t ProjectTypeOf(const Manifest& manifest) {
  for (const SettingValue& setting : manifest.settings) {
    if (setting.info->name == std::string(payload::kProjectTypeSetting.name)) return setting.number;
  }
  return 0;
}

packager::Bytes SpaceNeededItem(const SpaceKiB& space) {
  packager::Bytes bytes;
  for (uint64_t kib : {space.folder, space.module}) {
    uint32_t clamped = kib > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(kib);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(clamped >> shift));
  }
  return bytes;
}

}  // namespace

SpaceKiB SpaceNeededOf(const Manifest& manifest) {
  uint32_t type = ProjectTypeOf(manifest);
  const char* module = type == payload::kScreenSaver || type == payload::kWinampPlugin
                           ? payload::RuntimeFile(type, 1)
                           : nullptr;
  SpaceKiB space{0, 0};
  for (const FileSpec& file : manifest.files) {
    space.folder += payload::AllocatedBytes(file.size) / 1024;
    if (module != nullptr && file.name == module) space.module = payload::AllocatedBytes(file.size) / 1024;
  }
  return space;
}

std::vector<PlannedItem> PlanPayload(const Manifest& manifest) {
  packager::PayloadBuilder builder;
  // The recorded code page takes its place in the table's order; every
  // setting's info points into KnownSettings(), which is in that order.
  const SettingInfo* codePage = FindSetting(payload::kCodePageSetting.name);
  bool codePageWritten = false;
  for (const SettingValue& setting : manifest.settings) {
    if (!codePageWritten && setting.info > codePage) {
      builder.AddU32(payload::kCodePageSetting.name, manifest.codePage);
      codePageWritten = true;
    }
    AddSetting(builder, setting);
  }
  if (!codePageWritten) builder.AddU32(payload::kCodePageSetting.name, manifest.codePage);
  AddLists(builder, manifest.files);
  builder.Add(payload::kTypeAppData, payload::kSpaceNeededItem, SpaceNeededItem(SpaceNeededOf(manifest)));
  std::vector<PlannedItem> items;
  for (packager::Item& item : builder.Items()) items.push_back({item.type, item.name, std::move(item.data), nullptr});
  for (const LanguageTexts& language : manifest.languages) {
    std::map<texts::Id, std::string> words;
    for (const TextValue& text : language.texts) words[text.id] = text.text;
    bool isDefault = language.tag == manifest.defaultLanguage;
    items.push_back({payload::kTypeLanguage, language.tag, packager::LanguageBlock(language.id, isDefault, words),
                     nullptr});
  }
  for (const LicenceSpec& licence : manifest.licences) {
    items.push_back({payload::kTypeLicence, licence.tag, licence.stored, nullptr});
  }
  if (manifest.logAsShown) {
    std::string words = payload::kLogAsShown;
    items.push_back({payload::kTypeText, payload::kLogItem, packager::Bytes(words.begin(), words.end()), nullptr});
  }
  for (const FileSpec& file : manifest.files) items.push_back({payload::kTypeAppData, file.name, {}, &file});
  return items;
}

bool NeedsEncoding(const PlannedItem& item) {
  return item.file != nullptr && item.file->store != Store::kRaw && !item.file->alreadyEncoded;
}

std::vector<packager::DirectoryEntry> DirectoryOf(const std::vector<PlannedItem>& items) {
  std::vector<packager::DirectoryEntry> entries;
  for (const PlannedItem& item : items) entries.push_back({item.type, item.name, 0, 0});
  return entries;
}

uint64_t HeaderLength(const std::vector<PlannedItem>& items) {
  return packager::PayloadHeader(DirectoryOf(items)).size();
}

}  // namespace vpack
