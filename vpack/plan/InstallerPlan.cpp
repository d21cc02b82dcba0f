#include "vpack/plan/InstallerPlan.h"

#include "vpack/base/InputFile.h"
#include "vpack/branding/StubBranding.h"
#include "vpack/manifest/ManifestChecks.h"
#include "vpack/plan/KitStubs.h"
#include "vpack/rules/InstallerSize.h"
#include "vpack/rules/StubCheck.h"
#include "vpack/rules/StubChoice.h"

namespace vpack {
namespace {

std::vector<ProgramSource> Programs(const Manifest& manifest) {
  std::vector<ProgramSource> programs;
  for (const FileSpec& file : manifest.files) {
    const ProgramRule* rule = FindProgramRule(file.name, file.list == packager::ListKind::kChannelModules);
    if (rule != nullptr) programs.push_back({rule, file.source, file.entry});
  }
  return programs;
}

// What can be known before compressing: the stub, the directory and every
// file that is stored as it is.
uint64_t KnownSize(const InstallerPlan& plan) {
  uint64_t known = plan.stub.size() + HeaderLength(plan.items) + 4;
  for (const PlannedItem& item : plan.items) {
    if (item.file == nullptr) {
      known += item.bytes.size();
    } else if (!NeedsEncoding(item)) {
      known += item.file->size;
    }
  }
  return known;
}

}  // namespace

InstallerPlan StartPlan(Manifest manifest, const std::string& givenStub) {
  InstallerPlan plan;
  plan.projectType = ProjectTypeOf(manifest);
  std::string stub = !givenStub.empty() ? givenStub : !manifest.stub.empty() ? manifest.stub : KitStubFolder();
  plan.stubPath = ChooseStub(stub, plan.projectType, manifest.path);
  plan.manifest = std::move(manifest);
  plan.programs = Programs(plan.manifest);
  return plan;
}

void CompletePlan(InstallerPlan& plan) {
  // The stub is copied unchanged but for the publisher's branding, by the
  // rules verify applies to an installer's stub.
  plan.stub = ReadWholeFile(plan.stubPath, "stub");
  plan.machine = RequireStub(plan.stubPath, plan.stub.size(), plan.projectType);
  if (!plan.manifest.branding.Empty()) plan.stub = BrandStub(plan.stub, plan.manifest.branding, plan.stubPath);
  CheckProgramSources(plan.programs, plan.machine);
  plan.items = PlanPayload(plan.manifest);
  CheckKnownSize(KnownSize(plan));
}

}  // namespace vpack
