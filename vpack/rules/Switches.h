#pragma once
// The switches a stub takes for an unattended installation (/S, /D=PATH,
// /LOG=FILE; payload/StubSwitches.h), known by the stub's own version: stubs
// of 1.3.0 and later take them. The stub states its version in its version
// resource, numbers only; a publisher's branding replaces that resource, so
// pack keeps the stub's own version in the branded one as one more string.
#include <optional>
#include <string>
#include <vector>

#include "payload/StubSwitches.h"
#include "vpack/pe/VersionResource.h"

namespace vpack {

constexpr char kStubVersionString[] = "VandrelStubVersion";
constexpr FourPartVersion kFirstVersionWithSwitches = {payload::kSwitchesSince[0], payload::kSwitchesSince[1],
                                                     payload::kSwitchesSince[2], payload::kSwitchesSince[3]};

// The stub's own version from the version information an installer states
// (none: nullopt): the kept string where there is one, else the file version
// of a resource without strings, which is the stub's own. A stub without
// version information is older than any with one: 0.0.0.0. Nothing when a
// branded resource keeps no stub version (branded by an earlier vpack).
std::optional<FourPartVersion> OwnStubVersion(const std::optional<VersionInfo>& info);

// The switches a stub of that version takes; none before 1.3.0.
std::vector<std::string> StubSwitches(const FourPartVersion& version);

}  // namespace vpack
