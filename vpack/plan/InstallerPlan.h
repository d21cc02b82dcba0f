#pragma once
// The manifest resolved once into what pack writes: the project type, the
// stub, the programs the flows load or start, and the items. The checks and
// the writer read the plan; none of them looks the manifest up again.
#include <stdint.h>

#include <string>
#include <vector>

#include "packager/PayloadBuilder.h"
#include "vpack/manifest/Manifest.h"
#include "vpack/plan/PayloadPlan.h"
#include "vpack/rules/ProgramRules.h"

namespace vpack {

struct InstallerPlan {
  Manifest manifest;
  uint32_t projectType = 0;
  std::string stubPath;
  packager::Bytes stub;                 // as written: with the publisher's branding
  uint16_t machine = 0;                 // the stub's
  std::vector<ProgramSource> programs;  // checked for the stub's machine
  std::vector<PlannedItem> items;       // they point into manifest.files

  InstallerPlan() = default;
  InstallerPlan(InstallerPlan&&) = default;  // the files stay where the items point
  InstallerPlan& operator=(InstallerPlan&&) = default;
  InstallerPlan(const InstallerPlan&) = delete;
  InstallerPlan& operator=(const InstallerPlan&) = delete;
};

// The first step reads nothing but the manifest, so that the output can be
// checked against every input before any is read: the project type and the
// stub's path (givenStub, else the manifest's, else the release kit's; a
// folder of stubs gives the variant the project type needs).
InstallerPlan StartPlan(Manifest manifest, const std::string& givenStub);
// Then the stub is read, checked for the project type and branded, the
// programs' sources are checked for its machine, the items are planned and
// what is known of the size before compressing is checked. Throws Error.
void CompletePlan(InstallerPlan& plan);

}  // namespace vpack
