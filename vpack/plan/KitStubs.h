#pragma once
// The stubs of the release kit vpack came in: bin/vpack finds them in
// stubs/ beside bin/, so that a publisher who unpacked the kit needs neither
// --stub nor a stub in the manifest.
#include <string>

namespace vpack {

// The kit's folder of stubs, or "" when vpack does not run from a kit (a
// build tree) or the folder lacks either variant.
std::string KitStubFolder();

}  // namespace vpack
