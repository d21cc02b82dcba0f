// vpack pack: the manifest resolved into a plan, checked, then written.
#include "vpack/pack/Pack.h"

#include <stdio.h>

#include <algorithm>
#include <filesystem>

#include "vpack/base/AtomicFile.h"
#include "vpack/base/CodePage.h"
#include "vpack/base/Error.h"
#include "vpack/base/Progress.h"
#include "vpack/base/SystemPath.h"
#include "vpack/manifest/Manifest.h"
#include "vpack/pack/DryRun.h"
#include "vpack/pack/Signing.h"
#include "vpack/plan/InstallerPlan.h"
#include "vpack/rules/EngineMemory.h"
#include "vpack/rules/StorageRules.h"
#include "vpack/write/OutputTarget.h"
#include "vpack/write/PayloadStream.h"

namespace vpack {
namespace {

std::vector<InputPath> Inputs(const InstallerPlan& plan) {
  const Manifest& manifest = plan.manifest;
  std::vector<InputPath> inputs;
  for (const std::string& path : manifest.inputs) inputs.push_back({path, "the manifest " + Quoted(path)});
  inputs.push_back({plan.stubPath, "the stub"});
  if (!manifest.branding.iconPath.empty()) inputs.push_back({manifest.branding.iconPath, "the branding icon"});
  for (const FileSpec& file : manifest.files) inputs.push_back({file.source, "the source of " + file.entry});
  return inputs;
}

void ReportWarnings(const Manifest& manifest, bool strict) {
  for (const std::string& warning : manifest.warnings) fprintf(stderr, "vpack: warning: %s\n", warning.c_str());
  if (strict && !manifest.warnings.empty()) {
    throw Error(std::to_string(manifest.warnings.size()) + " warning(s), and --strict makes them errors");
  }
}

// Text outside ASCII reads as written only where Windows is set to the
// installer's code page; elsewhere the installer shows and makes other
// letters. It is what the publisher chose, so a note, not a warning.
void NoteCodePage(const Manifest& manifest) {
  auto outside = [](const std::string& bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
  };
  std::string first;
  for (const FileSpec& file : manifest.files) {
    if (first.empty() && outside(file.name)) first = file.name;
  }
  for (const SettingValue& setting : manifest.settings) {
    if (first.empty() && setting.info->kind == SettingKind::kText && outside(setting.stored)) first = setting.stored;
  }
  if (first.empty()) return;
  fprintf(stderr,
          "vpack: note: names and texts outside ASCII, such as %s, read as written only on Windows set to code "
          "page %u\n",
          Quoted(CodePage(manifest.codePage).ToUtf8(first)).c_str(), manifest.codePage);
}

uint64_t SourceBytes(const Manifest& manifest) {
  uint64_t total = 0;
  for (const FileSpec& file : manifest.files) total += file.size;
  return total;
}

// The items the engine decodes whole, with their sizes as written.
std::vector<EngineItem> EngineItems(const InstallerPlan& plan, const std::vector<uint32_t>& stored) {
  std::vector<EngineItem> items;
  for (size_t i = 0; i < plan.items.size() && i < stored.size(); ++i) {
    const FileSpec* file = plan.items[i].file;
    if (file != nullptr && EngineDecodesWhole(file->name, file->list, file->store)) {
      items.push_back({file->entry, stored[i], file->size});
    }
  }
  return items;
}

// Returns the payload's size; stored receives each item's stored size.
uint64_t WriteItems(AtomicFile& output, const InstallerPlan& plan, const PackOptions& options,
                    std::vector<uint32_t>& stored) {
  // Names are in the payload's code page; the terminal takes UTF-8.
  CodePage page(plan.manifest.codePage);
  Progress progress("packing", SourceBytes(plan.manifest), !options.quiet);
  uint64_t done = 0;
  return WritePayload(
      output, static_cast<uint32_t>(plan.stub.size()), plan.items, options.jobs,
      [&](size_t i, size_t, const std::string& name) {
        progress.Update(done, page.ToUtf8(name));
        done += plan.items[i].file->size;
      },
      &stored);
}

void PrintSummary(const InstallerPlan& plan, const std::string& output, uint64_t written, bool isSigned) {
  const Manifest& manifest = plan.manifest;
  printf("vpack: %s: %zu files (%llu bytes) in %zu items, %llu bytes%s\n", output.c_str(), manifest.files.size(),
         static_cast<unsigned long long>(SourceBytes(manifest)), plan.items.size(),
         static_cast<unsigned long long>(written), isSigned ? ", signed" : "");
  size_t asTheyAre = std::count_if(manifest.files.begin(), manifest.files.end(),
                                   [](const FileSpec& file) { return file.alreadyEncoded; });
  if (asTheyAre > 0) printf("vpack: stored %zu files already in the engine format as they are\n", asTheyAre);
  if (manifest.litterLeftOut > 0) {
    printf("vpack: left out %zu version-control and desktop files and folders (include-litter = true takes them)\n",
           manifest.litterLeftOut);
  }
}

}  // namespace

int Pack(const PackOptions& options) {
  Manifest manifest = LoadManifest(options.manifest, options.variables, options.output);
  ReportWarnings(manifest, options.strict);
  NoteCodePage(manifest);
  SigningCommand signing = options.signCommand.empty() ? manifest.signing : ShellSigning(options.signCommand);
  InstallerPlan plan = StartPlan(std::move(manifest), options.stub);
  if (!options.output.empty()) CheckOutputTarget(options.output, Inputs(plan));
  CompletePlan(plan);
  if (options.dryRun) return PrintPlan(plan.manifest, plan.stubPath, options.json);
  AtomicFile output(options.output);
  output.Write(plan.stub.data(), plan.stub.size());
  std::vector<uint32_t> stored;
  uint64_t payloadBytes = WriteItems(output, plan, options, stored);
  // Found before the output is kept, so that nothing is left behind.
  CheckEngineMemory(EngineItems(plan, stored), plan.machine);
  if (!signing.Empty()) SignInstaller(signing, output.Close(), plan.stub.size());
  output.Commit();
  // A signature makes the file larger than stub and payload.
  uint64_t written =
      signing.Empty() ? plan.stub.size() + payloadBytes : std::filesystem::file_size(PathOf(options.output));
  PrintSummary(plan, options.output, written, !signing.Empty());
  return 0;
}

}  // namespace vpack
