#include "vpack/base/KitFolder.h"

#include "vpack/base/Processes.h"
#include "vpack/base/SystemPath.h"

namespace vpack {

std::filesystem::path KitFolder(const char* name) {
  std::string self = OwnProgram();
  if (self.empty()) return std::filesystem::path();
  return PathOf(self).parent_path().parent_path() / name;
}

}  // namespace vpack
