#include "vpack/StorageRules.h"

#include "payload/EngineFiles.h"
#include "payload/RuntimeFiles.h"
#include "platform/Text.h"

namespace vpack {

bool SameItemName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && text::EqualNoCaseN(a.data(), b.data(), a.size());
}

bool IsPackedName(const std::string& name) {
  for (const payload::EngineFile& file : payload::kEngineFiles) {
    if (file.decode != 0 && SameItemName(name, file.name)) return true;
  }
  for (const char* program : payload::kProgramFiles) {
    if (SameItemName(name, program)) return true;
  }
  return false;
}

bool IsStartFile(const std::string& name) { return SameItemName(name, kStartFileName); }

}  // namespace vpack
