#include "vpack/read/VersionJson.h"

namespace vpack {

nlohmann::ordered_json VersionJson(const std::optional<VersionInfo>& version) {
  if (!version) return nullptr;
  nlohmann::ordered_json strings = nlohmann::ordered_json::object();
  for (const auto& [key, value] : version->strings) strings[key] = value;
  return {{"file", VersionText(version->fileVersion)},
          {"product", VersionText(version->productVersion)},
          {"strings", strings}};
}

}  // namespace vpack
