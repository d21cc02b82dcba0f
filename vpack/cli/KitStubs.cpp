#include "vpack/cli/KitStubs.h"

#include <filesystem>

#include "vpack/pe/StubCheck.h"

namespace vpack {

std::string KitStubFolder() {
  std::error_code error;
  // The program itself, not argv[0]: vpack may be started through a link or
  // from PATH.
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::string();
  std::filesystem::path folder = self.parent_path().parent_path() / "stubs";
  for (const char* name : {kUserStubName, kAdminStubName}) {
    if (!std::filesystem::is_regular_file(folder / name, error)) return std::string();
  }
  return folder.string();
}

}  // namespace vpack
