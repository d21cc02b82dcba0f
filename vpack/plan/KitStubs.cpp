#include "vpack/plan/KitStubs.h"

#include <filesystem>

#include "vpack/base/KitFolder.h"
#include "vpack/base/SystemPath.h"
#include "vpack/rules/StubCheck.h"

namespace vpack {

std::string KitStubFolder() {
  std::filesystem::path folder = KitFolder("stubs");
  if (folder.empty()) return std::string();
  std::error_code error;
  for (const char* name : {kUserStubName, kAdminStubName}) {
    if (!std::filesystem::is_regular_file(folder / name, error)) return std::string();
  }
  return TextOf(folder);
}

}  // namespace vpack
