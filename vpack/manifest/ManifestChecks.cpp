#include "vpack/manifest/ManifestChecks.h"

#include <stdio.h>

#include <algorithm>
#include <unordered_map>

#include "payload/ItemName.h"
#include "payload/ProjectTypes.h"
#include "vpack/base/Error.h"
#include "vpack/base/ItemIndex.h"
#include "vpack/manifest/SettingChecks.h"
#include "vpack/rules/ContentChecks.h"
#include "vpack/rules/PathLimits.h"

namespace vpack {
namespace {

// Each name's first fault, so that every bad name of a run is reported at
// once, each with its reason.
void CheckName(const FileSpec& file, const CodePage& page, std::vector<std::string>& problems) {
  size_t at = 0;
  payload::NameFault fault = payload::WindowsNameFault(file.name.c_str(), &at, page.Number());
  if (fault != payload::NameFault::kNone) {
    std::string detail;
    if (fault == payload::NameFault::kForbiddenCharacter) {
      char shown[8];
      unsigned char c = static_cast<unsigned char>(file.name[at]);
      snprintf(shown, sizeof(shown), c < 32 ? "0x%02X" : "'%c'", c);
      detail = std::string(" (") + shown + ")";
    } else if (fault == payload::NameFault::kDeviceName || fault == payload::NameFault::kTrailingDotOrSpace) {
      detail = " (" + Quoted(page.ToUtf8(file.name.substr(at, page.FindSeparator(file.name, at) - at))) + ")";
    }
    problems.push_back(file.entry + ": the name " + payload::NameFaultText(fault) + detail);
    return;
  }
  std::string beside = BesideNameProblem(file.name);
  if (!beside.empty()) problems.push_back(file.entry + ": " + beside);
  if (file.name.size() > kMaxItemName) {
    problems.push_back(file.entry + ": the name is " + std::to_string(file.name.size()) +
                       " bytes in the code page; an item name, listed or not, holds at most " +
                       std::to_string(kMaxItemName));
  }
}

void CheckFile(const FileSpec& file, std::vector<std::string>& problems, std::vector<std::string>& warnings) {
  std::string problem = StoreProblem(file.name, file.list, file.store);
  if (!problem.empty()) problems.push_back(file.entry + ": store " + StoreLabel(file.store) + ": " + problem);
  std::string held = file.list ? HeldFileProblem(file.name) : std::string();
  if (!held.empty()) problems.push_back(file.entry + ": " + held);
  std::string warning = StoreWarning(file.name, file.list, file.store);
  if (!warning.empty()) warnings.push_back(file.entry + ": " + warning);
  if (file.size >= kMaxInstallerSize) {
    problems.push_back(file.entry + ": source " + Quoted(file.source) + " is " + std::to_string(file.size) +
                       " bytes; an installer holds less than 2 GiB in all");
  }
}

// Windows folds the case of every letter of the code page, not only ASCII
// as the installer does, so "caf\xE9" and "CAF\xC9" would land in one file.
// The installer folds ASCII byte by byte, second bytes too, so in a
// double-byte page two different letters (83 41 and 83 61 in 932) are one
// item to it. Settings and files share the APPDATA type, so they collide too.
void CheckDuplicates(const Manifest& manifest, std::vector<std::string>& problems) {
  CodePage page(manifest.codePage);
  std::unordered_map<std::string, const FileSpec*> byName, byInstallerName;
  for (const FileSpec& file : manifest.files) {
    auto [twin, added] = byName.emplace(page.Folded(file.name), &file);
    auto [seen, unseen] = byInstallerName.emplace(NameKey(file.name), &file);
    if (!added) {
      problems.push_back(file.entry + ": duplicate item name (same as " + twin->second->entry +
                         "; Windows ignores case and takes / for \\)");
    } else if (!unseen) {
      problems.push_back(file.entry + ": duplicate item name (the installer, which folds the case of every byte "
                         "that looks like an ASCII letter, takes it for " + seen->second->entry + ")");
    }
  }
  for (const FileSpec& file : manifest.files) {
    for (const SettingValue& setting : manifest.settings) {
      if (SameItemName(file.name, setting.info->name)) {
        problems.push_back(file.entry + ": duplicate item name (a setting)");
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

void CheckProjectNeeds(const Manifest& manifest, uint32_t type, std::vector<std::string>& problems) {
  for (const char* name : RequiredSettings(type)) {
    bool given = std::any_of(manifest.settings.begin(), manifest.settings.end(),
                             [name](const SettingValue& s) { return std::string(s.info->name) == name; });
    if (!given) {
      problems.push_back(manifest.path + ": setting " + Quoted(name) + " is missing; project type " +
                         std::to_string(type) + " reads it");
    }
  }
  for (const std::string& name : RuntimeFiles(type)) {
    if (FindFile(manifest, name) == nullptr) {
      problems.push_back(manifest.path + ": no file " + Quoted(name) + "; project type " + std::to_string(type) +
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

// The installer copies a project file as stored only when ".cgr" is in its
// name in lower case; "WAVES.CGR" it has the engine decode like any other.
// That is the installer's rule, but a publisher who upper-cased a name
// rarely means it.
void WarnAboutCopiedMarkCase(Manifest& manifest) {
  for (const FileSpec& file : manifest.files) {
    if (file.list != packager::ListKind::kProjectFiles) continue;
    std::string lower = file.name;
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower.find(payload::kCopiedMark) == std::string::npos) continue;
    if (payload::IsCopiedProjectFile(payload::kTypeFileInfo, file.name.c_str())) continue;
    manifest.warnings.push_back(file.entry + ": the installer copies a project file as stored only when \"" +
                                payload::kCopiedMark + "\" is in its name in lower case; this one the engine decodes");
  }
}

// The paths the installation writes, by the rule verify applies too: a path
// no installation can create is an error, one that needs a short folder or
// fails a reinstall a warning.
void CheckInstalledPaths(Manifest& manifest, uint32_t type, std::vector<std::string>& problems) {
  std::string folder;
  const char* setting = InstallFolderSetting(type);
  for (const SettingValue& value : manifest.settings) {
    if (setting != nullptr && std::string(setting) == value.info->name) folder = value.stored;
  }
  std::vector<std::string> names;
  for (const FileSpec& file : manifest.files) names.push_back(file.name);
  PathFindings findings = vpack::CheckInstalledPaths(type, folder, names, CodePage(manifest.codePage));
  for (const std::string& warning : findings.warnings) manifest.warnings.push_back(manifest.path + ": " + warning);
  for (const std::string& error : findings.errors) problems.push_back(manifest.path + ": " + error);
}

// "1 run in place, 2 standalone, ...": every type the installer takes.
std::string KnownProjectTypes() {
  std::string known;
  for (const payload::ProjectTypeInfo& info : payload::kProjectTypes) {
    known += (known.empty() ? "" : ", ") + std::to_string(info.type) + " " + info.name;
  }
  return known;
}

}  // namespace

uint32_t ProjectTypeOf(const Manifest& manifest) {
  for (const SettingValue& setting : manifest.settings) {
    if (std::string(setting.info->name) == kProjectType) {
      if (payload::FindProjectType(setting.number) == nullptr) {
        throw Error(setting.entry + " is " + std::to_string(setting.number) +
                    ", which the installer ignores (" + KnownProjectTypes() + ")");
      }
      return setting.number;
    }
  }
  throw Error(manifest.path + ": setting \"ProjectType\" is missing; the installer does nothing without it");
}

void CheckManifest(Manifest& manifest, std::vector<std::string> problems) {
  CodePage page(manifest.codePage);
  for (const FileSpec& file : manifest.files) CheckName(file, page, problems);
  ThrowIfAny(problems);
  for (const FileSpec& file : manifest.files) CheckFile(file, problems, manifest.warnings);
  CheckDuplicates(manifest, problems);
  uint32_t type = ProjectTypeOf(manifest);
  CheckProjectNeeds(manifest, type, problems);
  CheckSettings(manifest, type, problems);
  CheckInstalledPaths(manifest, type, problems);
  ThrowIfAny(problems);
  WarnAboutUnused(manifest, type);
  WarnAboutCopiedMarkCase(manifest);
}

}  // namespace vpack
