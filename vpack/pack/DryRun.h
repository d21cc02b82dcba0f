#pragma once
// pack --dry-run: what pack would write, item by item, and which manifest
// entry put each item there, without writing anything.
#include <string>

#include "vpack/manifest/Manifest.h"

namespace vpack {

// Prints the plan for a manifest that passed every check pack makes before
// compressing: as text, or as one JSON object for scripts. Returns 0.
int PrintPlan(const Manifest& manifest, const std::string& stub, bool json);

}  // namespace vpack
