#pragma once
// Unpacks a zlib-stored item as the installer does: with the installer's own
// inflater, into a buffer of the size the item states, refusing a size that
// the stream cannot hold.
#include <string>

#include "packager/PayloadBuilder.h"

namespace vpack {

// Empty when the stream inflates to exactly the size in the item's last four
// bytes; otherwise what is wrong, as a phrase. unpacked, when given, receives
// the bytes.
std::string ZlibProblem(const packager::Bytes& stored, packager::Bytes* unpacked = nullptr);

}  // namespace vpack
