#pragma once
// The release kit's folders: bin/vpack finds stubs/ and texts/ beside bin/.
// A build tree keeps the same shape (its vpack in a folder of its own, what
// the kit ships beside that folder), so one rule serves both.
#include <filesystem>

namespace vpack {

// The folder of this name beside the one vpack's program is in; empty when
// the program cannot be told. It need not exist.
std::filesystem::path KitFolder(const char* name);

}  // namespace vpack
