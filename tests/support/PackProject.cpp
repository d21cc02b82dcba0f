#include "tests/support/PackProject.h"

#include <algorithm>
#include <filesystem>

#include "payload/ProjectTypes.h"
#include "tests/support/StubImage.h"
#include "vpack/rules/ProgramRules.h"
#include "vpack/rules/StorageRules.h"

namespace testing_support {

void PutFile(const TempDir& dir, const std::string& path, const std::string& bytes) {
  std::filesystem::path full = std::filesystem::path(dir.Path()) / path;
  std::filesystem::create_directories(full.parent_path());
  WriteFileBytes(full.string(), bytes.data(), bytes.size());
}

std::string WriteRuntimeProject(const TempDir& dir, uint32_t projectType, uint16_t machine) {
  const payload::ProjectTypeInfo* info = payload::FindProjectType(projectType);
  PutFile(dir, "stub.exe", StubImage(1000, info != nullptr && info->installs ? StubVariant::kAdmin : StubVariant::kUser));
  for (std::string name : vpack::RuntimeFiles(projectType)) {
    std::string path = "runtime/" + name;
    for (char& c : path) {
      if (c == '\\') c = '/';
    }
    const vpack::ProgramRule* program = vpack::FindProgramRule(name);
    PutFile(dir, path,
            program != nullptr ? ProgramImage(machine, program->kind == vpack::ProgramKind::kDll, 3000 + name.size())
                               : "runtime file " + name + std::string(3000, 'r'));
  }
  return ManifestHead(projectType) + "[[folder]]\nsource = \"runtime\"\n";
}

std::string ManifestHead(uint32_t projectType) {
  const payload::ProjectTypeInfo* info = payload::FindProjectType(projectType);
  std::string manifest = "stub = \"stub.exe\"\n[settings]\nProjectType = " + std::to_string(projectType) + "\n";
  for (uint32_t i = 0; info != nullptr && i < info->settingCount; ++i) {
    const payload::Setting& setting = *info->settings[i];
    manifest += std::string(setting.name) + " = " + (setting.size != payload::kTextSettingSize ? "0"
                                                     : &setting == &payload::kShortCutName   ? "'\\x'"
                                                     : &setting == &payload::kProjectName    ? "'x'"
                                                                                             : "'C:\\x'") + "\n";
  }
  return manifest;
}

std::string RuntimeEntries(uint32_t projectType) {
  std::string manifest = ManifestHead(projectType);
  for (const std::string& name : vpack::RuntimeFiles(projectType)) {
    manifest += "[[file]]\nname = '" + name + "'\nsource = 'runtime/" + name + "'\n";
  }
  return manifest;
}

std::string RuntimeEntriesWith(uint32_t projectType, const std::string& setting, const std::string& toml) {
  std::string manifest = RuntimeEntries(projectType);
  size_t at = manifest.find("\n" + setting + " = ");
  if (at == std::string::npos) return manifest + "# no setting " + setting + " to set\n";
  size_t end = manifest.find('\n', at + 1);
  return manifest.replace(at + 1, end - at - 1, setting + " = " + toml);
}

std::string PlaceIn(const std::string& file, const std::string& text, const std::string& what) {
  size_t at = text.find(what);
  if (at == std::string::npos) return file + ":(no " + what + ")";
  size_t lineStart = text.rfind('\n', at);
  lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
  size_t line = 1 + std::count(text.begin(), text.begin() + at, '\n');
  return file + ":" + std::to_string(line) + ":" + std::to_string(at - lineStart + 1);
}

}  // namespace testing_support
