#include "vpack/rules/StorageRules.h"

#include "payload/EngineFiles.h"
#include "payload/ProjectTypes.h"
#include "payload/RuntimeFiles.h"

namespace vpack {

std::string CanonicalName(const std::string& name) {
  std::string canonical = name;
  for (char& c : canonical) {
    if (c == '/') c = '\\';
  }
  return canonical;
}

bool IsPackedName(const std::string& name) {
  for (const payload::EngineFile& file : payload::kEngineFiles) {
    if (file.decode != 0 && SameItemName(name, file.name)) return true;
  }
  for (const payload::ProgramFile& program : payload::kProgramFiles) {
    if (SameItemName(name, program.name)) return true;
  }
  return false;
}

bool IsStartFile(const std::string& name) { return SameItemName(name, payload::kStartFileName); }

bool IsRuntimeName(const std::string& name) { return IsPackedName(name) || IsStartFile(name); }

std::vector<std::string> RuntimeFiles(uint32_t projectType) {
  std::vector<std::string> names;
  const payload::RuntimeFiles* flow = payload::FindRuntimeFiles(projectType);
  if (flow == nullptr) return names;
  for (const payload::EngineFile& file : payload::kEngineFiles) names.push_back(file.name);
  for (uint32_t i = 0; i < flow->count; ++i) names.push_back(flow->names[i]);
  return names;
}

bool IsCopiedProjectFile(const std::string& name, std::optional<packager::ListKind> list) {
  return list && payload::IsCopiedProjectFile(packager::ListType(*list), name.c_str());
}

bool EngineDecodesWhole(const std::string& name, std::optional<packager::ListKind> list, Store store) {
  return store == Store::kEngine && list && !IsCopiedProjectFile(name, list);
}

Store DefaultStore(const std::string& name) {
  return IsPackedName(name) ? Store::kZlib : Store::kEngine;
}

std::string StoreProblem(const std::string& name, std::optional<packager::ListKind> list, Store store) {
  if (IsRuntimeName(name) && list) return "the installer extracts it by name; it cannot also be in a list";
  if (IsPackedName(name) && store != Store::kZlib) return "the installer inflates it, so it must be stored as zlib";
  if (IsCopiedProjectFile(name, list)) return std::string();
  if ((list || IsStartFile(name)) && store != Store::kEngine) {
    return "the engine decodes it, so it must be stored in the engine format";
  }
  return std::string();
}

std::string StoreWarning(const std::string& name, std::optional<packager::ListKind> list, Store store) {
  if (!IsCopiedProjectFile(name, list) || store == Store::kEngine) return std::string();
  return CopiedNotEngineFormat(store == Store::kZlib ? "stored as zlib" : "stored raw");
}

std::string CopiedNotEngineFormat(const std::string& how) {
  return how + ", but the installer copies a project file whose name holds \"" + payload::kCopiedMark +
         "\" as stored, and the engine reads it from disk in its own format";
}

const char* StoreLabel(Store store) {
  switch (store) {
    case Store::kZlib: return "zlib";
    case Store::kRaw: return "raw";
    default: return "engine";
  }
}

}  // namespace vpack
