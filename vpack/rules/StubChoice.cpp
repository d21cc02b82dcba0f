#include "vpack/rules/StubChoice.h"

#include <filesystem>

#include "vpack/base/Error.h"
#include "vpack/base/SystemPath.h"
#include "vpack/rules/Settings.h"
#include "vpack/rules/StubCheck.h"

namespace vpack {

std::string ChooseStub(const std::string& path, uint32_t projectType, const std::string& manifestPath) {
  if (path.empty()) {
    throw Error(manifestPath + ": no stub given (stub = \"...\" or --stub, or vpack from a release kit)");
  }
  if (!std::filesystem::is_directory(PathOf(path))) return path;
  return TextOf(PathOf(path) / (InstallsProject(projectType) ? kAdminStubName : kUserStubName));
}

}  // namespace vpack
