#pragma once
// Turns a checked manifest into payload items: reads every source and stores
// it the way its manifest entry asks.
#include <functional>

#include "packager/PayloadBuilder.h"
#include "vpack/Manifest.h"

namespace vpack {

// Called before each file is read, with its position and the file count.
using FileProgress = std::function<void(size_t index, size_t count, const std::string& name)>;

// Settings, then the three lists (always, counts included), then the files in
// manifest order. Throws Error when a source cannot be read or the items do
// not fit the payload's 32-bit sizes.
packager::PayloadBuilder AssemblePayload(const Manifest& manifest, const FileProgress& progress = nullptr);

// Reads a whole file; throws Error naming what the file is for.
packager::Bytes ReadWholeFile(const std::string& path, const std::string& what);

}  // namespace vpack
