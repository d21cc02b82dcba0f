#include "vpack/write/OutputTarget.h"

#include "vpack/base/Error.h"
#include "vpack/base/SystemPath.h"

namespace vpack {

void CheckOutputTarget(const std::string& output, const std::vector<InputPath>& inputs) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path target = PathOf(output);
  fs::file_status status = fs::symlink_status(target, error);
  if (error || !fs::exists(status)) return;  // a new file: nothing to lose
  std::string named = "output " + Quoted(output);
  if (IsLink(target)) throw Error(named + " is a symbolic link; give the path it points to");
  if (fs::is_directory(status)) throw Error(named + " is a folder");
  if (!fs::is_regular_file(status)) throw Error(named + " is not a regular file (a device, a pipe or a socket)");
  for (const InputPath& input : inputs) {
    // Same device and file number, or on Windows the same volume and file id.
    if (fs::equivalent(PathOf(input.path), target, error) && !error) {
      throw Error(named + " is " + input.what + "; packing would overwrite it");
    }
  }
}

}  // namespace vpack
