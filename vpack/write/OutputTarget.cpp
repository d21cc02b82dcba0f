#include "vpack/write/OutputTarget.h"

#include <sys/stat.h>

#include "vpack/base/Error.h"

namespace vpack {

void CheckOutputTarget(const std::string& output, const std::vector<InputPath>& inputs) {
  struct stat target;
  if (lstat(output.c_str(), &target) != 0) return;  // a new file: nothing to lose
  std::string named = "output " + Quoted(output);
  if (S_ISLNK(target.st_mode)) throw Error(named + " is a symbolic link; give the path it points to");
  if (S_ISDIR(target.st_mode)) throw Error(named + " is a folder");
  if (!S_ISREG(target.st_mode)) throw Error(named + " is not a regular file (a device, a pipe or a socket)");
  for (const InputPath& input : inputs) {
    struct stat read;
    if (stat(input.path.c_str(), &read) == 0 && read.st_dev == target.st_dev && read.st_ino == target.st_ino) {
      throw Error(named + " is " + input.what + "; packing would overwrite it");
    }
  }
}

}  // namespace vpack
