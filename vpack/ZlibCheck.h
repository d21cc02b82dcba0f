#pragma once
// Checks a zlib-stored item the way the installer will unpack it, without
// trusting its stated size for an allocation: a damaged trailer can claim
// up to 4 GiB.
#include <string>

#include "packager/PayloadBuilder.h"

namespace vpack {

// Empty when the stream inflates to exactly the size in the item's last four
// bytes; otherwise what is wrong, as a phrase.
std::string ZlibProblem(const packager::Bytes& stored);

}  // namespace vpack
