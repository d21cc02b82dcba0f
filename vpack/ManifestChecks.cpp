#include "vpack/ManifestChecks.h"

#include <algorithm>

#include "payload/ItemName.h"
#include "payload/ProjectTypes.h"
#include "vpack/Error.h"

namespace vpack {
namespace {

[[noreturn]] void Refuse(const FileSpec& file, const std::string& why) { throw Error(file.entry + ": " + why); }

void CheckName(const FileSpec& file) {
  if (file.name.empty()) Refuse(file, "the item name is empty");
  if (!payload::IsSafeItemName(file.name.c_str())) {
    Refuse(file, Quoted(file.name) + " leaves the installation folder (a \"..\" component, a drive or a ':')");
  }
  if (!payload::IsWindowsFileName(file.name.c_str())) {
    Refuse(file, Quoted(file.name) + " is not a name Windows can create (a reserved device name, a character " +
                     "Windows forbids, an empty component or one ending in a dot or a space)");
  }
  // A listed name is also written as a list entry, whose limit is reported
  // first because it names the list the file was put into.
  if (file.list && file.name.size() > kMaxListName) {
    Refuse(file, std::to_string(file.name.size()) + " characters long; a list entry holds at most " +
                     std::to_string(kMaxListName));
  }
  if (file.name.size() > kMaxItemName) {
    Refuse(file, std::to_string(file.name.size()) + " characters long; an item name holds at most " +
                     std::to_string(kMaxItemName));
  }
}

void CheckFile(const FileSpec& file) {
  CheckName(file);
  std::string problem = StoreProblem(file.name, file.list, file.store);
  if (!problem.empty()) Refuse(file, std::string("store ") + StoreLabel(file.store) + ": " + problem);
  if (file.size >= kMaxInstallerSize) {
    Refuse(file, "source " + Quoted(file.source) + " is " + std::to_string(file.size) +
                     " bytes; an installer holds less than 2 GiB in all");
  }
}

// Files are sorted by name, so a duplicate is next to its twin. Settings and
// files share the APPDATA type, so they collide too.
void CheckDuplicates(const Manifest& manifest) {
  for (size_t i = 1; i < manifest.files.size(); ++i) {
    const FileSpec& file = manifest.files[i];
    if (SameItemName(file.name, manifest.files[i - 1].name)) {
      Refuse(file, "duplicate item name " + Quoted(file.name) + " (same as " + manifest.files[i - 1].entry +
                       "; Windows ignores case and takes / for \\)");
    }
  }
  for (const FileSpec& file : manifest.files) {
    for (const SettingValue& setting : manifest.settings) {
      if (SameItemName(file.name, setting.info->name)) {
        Refuse(file, "duplicate item name " + Quoted(file.name) + " (a setting)");
      }
    }
  }
}

const FileSpec* FindFile(const Manifest& manifest, const std::string& name) {
  for (const FileSpec& file : manifest.files) {
    if (SameItemName(file.name, name)) return &file;
  }
  return nullptr;
}

void CheckProjectNeeds(const Manifest& manifest, uint32_t type) {
  for (const char* name : RequiredSettings(type)) {
    bool given = std::any_of(manifest.settings.begin(), manifest.settings.end(),
                             [name](const SettingValue& s) { return std::string(s.info->name) == name; });
    if (!given) {
      throw Error(manifest.path + ": setting " + Quoted(name) + " is missing; project type " + std::to_string(type) +
                  " reads it");
    }
  }
  for (const std::string& name : RuntimeFiles(type)) {
    if (FindFile(manifest, name) == nullptr) {
      throw Error(manifest.path + ": no file " + Quoted(name) + "; project type " + std::to_string(type) +
                  " extracts it");
    }
  }
}

// Files packed but never written by the installer cost space and hide a
// forgotten list.
void WarnAboutUnused(Manifest& manifest, uint32_t type) {
  std::vector<std::string> runtime = RuntimeFiles(type);
  for (const FileSpec& file : manifest.files) {
    if (file.list) continue;
    bool extracted = std::any_of(runtime.begin(), runtime.end(),
                                 [&](const std::string& name) { return SameItemName(name, file.name); });
    if (!extracted) {
      manifest.warnings.push_back(file.entry + ": in no list, so the installer never writes it");
    }
  }
}

}  // namespace

uint32_t ProjectTypeOf(const Manifest& manifest) {
  for (const SettingValue& setting : manifest.settings) {
    if (std::string(setting.info->name) == kProjectType) {
      if (payload::FindProjectType(setting.number) == nullptr) {
        throw Error(manifest.path + ": setting \"ProjectType\" is " + std::to_string(setting.number) +
                    ", which the installer ignores (1 run in place, 2 standalone, 5 screen saver, 6 Winamp plug-in)");
      }
      return setting.number;
    }
  }
  throw Error(manifest.path + ": setting \"ProjectType\" is missing; the installer does nothing without it");
}

void CheckManifest(Manifest& manifest) {
  for (const FileSpec& file : manifest.files) CheckFile(file);
  CheckDuplicates(manifest);
  uint32_t type = ProjectTypeOf(manifest);
  CheckProjectNeeds(manifest, type);
  WarnAboutUnused(manifest, type);
}

}  // namespace vpack
