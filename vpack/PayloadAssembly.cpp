#include "vpack/PayloadAssembly.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "packager/EngineFormat.h"
#include "vpack/Error.h"

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
      if (!builder.AddText(setting.info->name, setting.text)) {
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

void AddFile(packager::PayloadBuilder& builder, const FileSpec& file) {
  packager::Bytes source = ReadWholeFile(file.source, "file " + Quoted(file.name) + ": source");
  switch (file.store) {
    case Store::kZlib: builder.AddPacked(file.name, source); break;
    case Store::kRaw: builder.AddRaw(file.name, std::move(source)); break;
    case Store::kEngine: builder.AddRaw(file.name, packager::EngineEncode(source)); break;
  }
}

// The directory holds 32-bit sizes and offsets; a payload beyond them would
// be written without complaint and then misread by the installer.
void CheckSizes(const packager::PayloadBuilder& builder) {
  uint64_t total = 0;
  for (const packager::Item& item : builder.Items()) total += item.data.size();
  if (total > 0xFFFFFFFFull) throw Error("the items come to " + std::to_string(total) + " bytes; at most 4 GiB fit");
}

}  // namespace

packager::Bytes ReadWholeFile(const std::string& path, const std::string& what) {
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) throw Error(what + " " + Quoted(path) + " cannot be read: " + strerror(errno));
  packager::Bytes bytes;
  uint8_t chunk[64 * 1024];
  size_t got = 0;
  while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  int error = ferror(file) ? errno : 0;
  fclose(file);
  if (error != 0) throw Error(what + " " + Quoted(path) + " cannot be read: " + strerror(error));
  return bytes;
}

packager::PayloadBuilder AssemblePayload(const Manifest& manifest, const FileProgress& progress) {
  packager::PayloadBuilder builder;
  for (const SettingValue& setting : manifest.settings) AddSetting(builder, setting);
  AddLists(builder, manifest.files);
  for (size_t i = 0; i < manifest.files.size(); ++i) {
    if (progress) progress(i, manifest.files.size(), manifest.files[i].name);
    AddFile(builder, manifest.files[i]);
  }
  CheckSizes(builder);
  return builder;
}

}  // namespace vpack
