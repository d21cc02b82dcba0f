#pragma once
// A version resource as list --json and pack --dry-run --json show it: one
// shape for what the installer carries and what it will carry.
#include <optional>

#include <nlohmann/json.hpp>

#include "vpack/pe/VersionResource.h"

namespace vpack {

// Null for no version resource.
nlohmann::ordered_json VersionJson(const std::optional<VersionInfo>& version);

}  // namespace vpack
