#pragma once
// Whether vpack may put its output at a path: the output replaces what is
// there by a rename, which would silently turn a device or a symbolic link
// into a plain file, and would destroy an input the pack still reads.
#include <string>
#include <vector>

namespace vpack {

struct InputPath {
  std::string path;
  std::string what;  // how the message names it: "the manifest", "the stub", an entry
};

// Throws Error naming the problem; checked before anything is read or written.
void CheckOutputTarget(const std::string& output, const std::vector<InputPath>& inputs);

}  // namespace vpack
