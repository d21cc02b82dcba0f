#include "vpack/plan/KitStubs.h"

#include <filesystem>

#include "vpack/base/Processes.h"
#include "vpack/base/SystemPath.h"
#include "vpack/rules/StubCheck.h"

namespace vpack {

std::string KitStubFolder() {
  std::string self = OwnProgram();
  if (self.empty()) return std::string();
  std::error_code error;
  std::filesystem::path folder = PathOf(self).parent_path().parent_path() / "stubs";
  for (const char* name : {kUserStubName, kAdminStubName}) {
    if (!std::filesystem::is_regular_file(folder / name, error)) return std::string();
  }
  return TextOf(folder);
}

}  // namespace vpack
