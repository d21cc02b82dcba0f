// vpack pack MANIFEST -o OUTPUT [--stub S] [--strict] [--jobs N] [--sign-command C] [--var N=V] [--dry-run]
#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <filesystem>

#include "vpack/base/CodePage.h"
#include "vpack/base/Commands.h"
#include "vpack/rules/EngineMemory.h"
#include "vpack/cli/KitStubs.h"
#include "vpack/base/Error.h"
#include "vpack/base/InputFile.h"
#include "vpack/manifest/Manifest.h"
#include "vpack/manifest/ManifestChecks.h"
#include "vpack/base/AtomicFile.h"
#include "vpack/base/SystemPath.h"
#include "vpack/write/OutputTarget.h"
#include "vpack/cli/PackPlan.h"
#include "vpack/plan/PayloadPlan.h"
#include "vpack/write/ItemEncoder.h"
#include "vpack/write/PayloadStream.h"
#include "vpack/rules/ProgramRules.h"
#include "vpack/cli/Signing.h"
#include "vpack/base/Progress.h"
#include "vpack/pe/StubCheck.h"
#include "vpack/branding/StubBranding.h"

namespace vpack {
namespace {

// A folder of stubs holds both variants: the installing project types need
// an administrator, the others run as the user who starts them.
std::string StubPath(const PackOptions& options, const Manifest& manifest) {
  std::string path = !options.stub.empty()      ? options.stub
                     : !manifest.stub.empty() ? manifest.stub
                                              : KitStubFolder();
  if (path.empty()) {
    throw Error(manifest.path + ": no stub given (stub = \"...\" or --stub, or vpack from a release kit)");
  }
  if (!std::filesystem::is_directory(PathOf(path))) return path;
  return TextOf(PathOf(path) / (InstallsProject(ProjectTypeOf(manifest)) ? kAdminStubName : kUserStubName));
}

// The stub is copied unchanged but for the publisher's branding; it must be
// a stub of the variant the project type needs, checked by the rules verify
// applies to an installer's stub. *machine receives its machine.
packager::Bytes ReadStub(const std::string& path, const Manifest& manifest, uint16_t* machine) {
  packager::Bytes stub = ReadWholeFile(path, "stub");
  StubReport report = CheckStub(path, stub.size(), ProjectTypeOf(manifest));
  if (!report.problems.empty()) throw Error("stub " + Quoted(path) + ": " + report.problems.front());
  *machine = report.machine;
  if (!manifest.branding.Empty()) stub = BrandStub(stub, manifest.branding, path);
  return stub;
}

// The first bytes of a source, where a program's headers are.
packager::Bytes ReadHead(const FileSpec& file) {
  return InputFile(file.source, file.entry + ": source").ReadHead(kProgramHeadBytes);
}

// Every program the flows load or start, by the rule verify applies to the
// bytes an installer holds.
// Every wrong one at once: a runtime of the wrong machine is many files.
void CheckPrograms(const Manifest& manifest, uint16_t machine) {
  std::vector<std::string> problems;
  for (const FileSpec& file : manifest.files) {
    const ProgramRule* rule = FindProgramRule(file.name, file.list == packager::ListKind::kChannelModules);
    if (rule == nullptr) continue;
    packager::Bytes head = ReadHead(file);
    std::string problem = ProgramProblem(*rule, head.data(), head.size(), machine);
    if (!problem.empty()) problems.push_back(file.entry + ": source " + Quoted(file.source) + " is " + problem);
  }
  ThrowIfAny(problems);
}

std::vector<InputPath> Inputs(const Manifest& manifest, const std::string& stub) {
  std::vector<InputPath> inputs;
  for (const std::string& path : manifest.inputs) inputs.push_back({path, "the manifest " + Quoted(path)});
  inputs.push_back({stub, "the stub"});
  if (!manifest.branding.iconPath.empty()) inputs.push_back({manifest.branding.iconPath, "the branding icon"});
  for (const FileSpec& file : manifest.files) inputs.push_back({file.source, "the source of " + file.entry});
  return inputs;
}

// What can be known before compressing: the stub, the directory and every
// file that is stored as it is.
void CheckKnownSize(size_t stubSize, const std::vector<PlannedItem>& items) {
  uint64_t known = stubSize + HeaderLength(items) + 4;
  for (const PlannedItem& item : items) {
    if (item.file == nullptr) {
      known += item.bytes.size();
    } else if (!NeedsEncoding(item)) {
      known += item.file->size;
    }
  }
  if (known > kMaxInstallerSize) {
    throw Error("the installer would be at least " + std::to_string(known) + " bytes; it must stay below 2 GiB");
  }
}

void ReportWarnings(const Manifest& manifest, bool strict) {
  for (const std::string& warning : manifest.warnings) fprintf(stderr, "vpack: warning: %s\n", warning.c_str());
  if (strict && !manifest.warnings.empty()) {
    throw Error(std::to_string(manifest.warnings.size()) + " warning(s), and --strict makes them errors");
  }
}

// Known only once compressed: whether the 32-bit installer can hold each
// item it decodes with the engine's output. It cannot install one that does
// not fit, so that is an error, as verify says; found before the output is
// kept, so that nothing is left behind.
void CheckEngineMemory(const std::vector<PlannedItem>& items, const std::vector<uint32_t>& stored, uint16_t machine) {
  if (machine != kMachineI386) return;
  std::string problems;
  for (size_t i = 0; i < items.size() && i < stored.size(); ++i) {
    const FileSpec* file = items[i].file;
    // Only what a list names goes to the engine whole; the start file and
    // the copied project files are written as stored.
    if (file == nullptr || file->store != Store::kEngine || !file->list || IsCopiedProjectFile(file->name, file->list)) {
      continue;
    }
    std::string problem = EngineMemoryProblem(stored[i], file->size);
    if (!problem.empty()) problems += (problems.empty() ? "" : "\n") + file->entry + ": " + problem;
  }
  if (!problems.empty()) throw Error(problems);
}

uint64_t SourceBytes(const Manifest& manifest) {
  uint64_t total = 0;
  for (const FileSpec& file : manifest.files) total += file.size;
  return total;
}

}  // namespace

int Pack(const PackOptions& options) {
  Manifest manifest = LoadManifest(options.manifest, options.variables, options.output);
  ReportWarnings(manifest, options.strict);
  SigningCommand signing = options.signCommand.empty() ? manifest.signing : ShellSigning(options.signCommand);
  std::string stubPath = StubPath(options, manifest);
  if (!options.output.empty()) CheckOutputTarget(options.output, Inputs(manifest, stubPath));
  uint16_t machine = 0;
  packager::Bytes stub = ReadStub(stubPath, manifest, &machine);
  CheckPrograms(manifest, machine);
  std::vector<PlannedItem> items = PlanPayload(manifest);
  CheckKnownSize(stub.size(), items);
  if (options.dryRun) return PrintPlan(manifest, stubPath, options.json);
  AtomicFile output(options.output);
  output.Write(stub.data(), stub.size());
  uint64_t payloadBytes = 0;
  std::vector<uint32_t> stored;
  {
    // Names are in the payload's code page; the terminal takes UTF-8.
    CodePage page(manifest.codePage);
    Progress progress("packing", SourceBytes(manifest), !options.quiet);
    uint64_t done = 0;
    payloadBytes = WritePayload(
        output, static_cast<uint32_t>(stub.size()), items, options.jobs,
        [&](size_t i, size_t, const std::string& name) {
          progress.Update(done, page.ToUtf8(name));
          done += items[i].file->size;
        },
        &stored);
  }
  CheckEngineMemory(items, stored, machine);
  if (!signing.Empty()) SignInstaller(signing, output.Close(), stub.size());
  output.Commit();
  // A signature makes the file larger than stub and payload.
  uint64_t written = signing.Empty() ? stub.size() + payloadBytes : std::filesystem::file_size(PathOf(options.output));
  printf("vpack: %s: %zu files (%llu bytes) in %zu items, %llu bytes%s\n", options.output.c_str(),
         manifest.files.size(), static_cast<unsigned long long>(SourceBytes(manifest)), items.size(),
         static_cast<unsigned long long>(written), signing.Empty() ? "" : ", signed");
  size_t asTheyAre = std::count_if(manifest.files.begin(), manifest.files.end(),
                                   [](const FileSpec& file) { return file.alreadyEncoded; });
  if (asTheyAre > 0) printf("vpack: stored %zu files already in the engine format as they are\n", asTheyAre);
  if (manifest.litterLeftOut > 0) {
    printf("vpack: left out %zu version-control and desktop files and folders (include-litter = true takes them)\n",
           manifest.litterLeftOut);
  }
  return 0;
}

}  // namespace vpack
