#include "vpack/rules/Switches.h"

#include <stdio.h>

#include <iterator>

namespace vpack {
namespace {

std::optional<FourPartVersion> ParseVersion(const std::string& text) {
  unsigned parts[4];
  char end;
  if (sscanf(text.c_str(), "%u.%u.%u.%u%c", &parts[0], &parts[1], &parts[2], &parts[3], &end) != 4) {
    return std::nullopt;
  }
  FourPartVersion version{};
  for (size_t i = 0; i < 4; ++i) {
    if (parts[i] > 0xFFFF) return std::nullopt;
    version[i] = static_cast<uint16_t>(parts[i]);
  }
  return version;
}

}  // namespace

std::optional<FourPartVersion> OwnStubVersion(const std::optional<VersionInfo>& info) {
  if (!info) return FourPartVersion{};
  for (const auto& [key, value] : info->strings) {
    if (key == kStubVersionString) return ParseVersion(value);
  }
  if (info->strings.empty()) return info->fileVersion;
  return std::nullopt;
}

std::vector<std::string> StubSwitches(const FourPartVersion& version) {
  if (version < kFirstVersionWithSwitches) return {};
  std::vector<std::string> switches(std::begin(payload::kStubSwitches), std::end(payload::kStubSwitches));
  const uint16_t* since = payload::kLanguagesSince;
  if (!(version < FourPartVersion{since[0], since[1], since[2], since[3]})) switches.push_back(payload::kLanguageSwitch);
  return switches;
}

}  // namespace vpack
