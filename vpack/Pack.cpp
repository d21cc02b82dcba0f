// vpack pack MANIFEST -o OUTPUT [--stub STUB|STUB_FOLDER]
#include <stdio.h>

#include <filesystem>

#include "vpack/Commands.h"
#include "vpack/ContentChecks.h"
#include "vpack/Error.h"
#include "vpack/Manifest.h"
#include "vpack/OutputFile.h"
#include "vpack/PayloadAssembly.h"
#include "vpack/Progress.h"
#include "vpack/StubBranding.h"

namespace vpack {
namespace {

struct PackOptions {
  std::string manifest;
  std::string output;
  std::string stub;
};

PackOptions ParsePackOptions(const Arguments& arguments) {
  PackOptions options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    bool takesValue = argument == "-o" || argument == "--output" || argument == "--stub";
    if (takesValue && i + 1 >= arguments.size()) throw UsageError(argument + " needs a value");
    if (argument == "-o" || argument == "--output") {
      options.output = arguments[++i];
    } else if (argument == "--stub") {
      options.stub = arguments[++i];
    } else if (argument.size() > 1 && argument[0] == '-') {
      throw UsageError("unknown option " + argument);
    } else if (options.manifest.empty()) {
      options.manifest = argument;
    } else {
      throw UsageError("pack takes one manifest");
    }
  }
  if (options.manifest.empty()) throw UsageError("pack needs a manifest");
  if (options.output.empty()) throw UsageError("pack needs -o OUTPUT");
  return options;
}

// The stub is copied unchanged but for the branding; the payload's trailer
// records its size, which must therefore fit 32 bits.
// A folder of stubs holds both variants: the installing project types need
// an administrator, the others run as the user who starts them.
std::string StubInFolder(const std::string& folder, const Manifest& manifest) {
  uint32_t type = 0;
  for (const SettingValue& setting : manifest.settings) {
    if (std::string(setting.info->name) == kProjectType) type = setting.number;
  }
  return (std::filesystem::path(folder) / (InstallsProject(type) ? "VandrelStubAdmin.exe" : "VandrelStub.exe")).string();
}

packager::Bytes ReadStub(const PackOptions& options, const Manifest& manifest) {
  std::string path = !options.stub.empty() ? options.stub : manifest.stub;
  if (path.empty()) throw Error(manifest.path + ": no stub given (stub = \"...\" or --stub)");
  if (std::filesystem::is_directory(path)) path = StubInFolder(path, manifest);
  packager::Bytes stub = ReadWholeFile(path, "stub");
  if (stub.size() > 0xFFFFFFFFull) throw Error("stub " + Quoted(path) + " is larger than 4 GiB");
  if (!manifest.branding.Empty()) stub = BrandStub(stub, manifest.branding, path);
  return stub;
}

// A pack that the installer could not use is still written, since the
// manifest may be a work in progress, but not silently.
void WarnAbout(const packager::PayloadBuilder& builder) {
  for (const std::string& problem : CheckContents(builder.Items())) {
    fprintf(stderr, "vpack: warning: %s\n", problem.c_str());
  }
}

packager::PayloadBuilder AssembleWithProgress(const Manifest& manifest) {
  Progress progress;
  return AssemblePayload(manifest,
                         [&progress](size_t i, size_t n, const std::string& name) { progress.Show(i, n, name); });
}

}  // namespace

int RunPack(const Arguments& arguments) {
  PackOptions options = ParsePackOptions(arguments);
  Manifest manifest = LoadManifest(options.manifest);
  packager::Bytes stub = ReadStub(options, manifest);
  packager::PayloadBuilder builder = AssembleWithProgress(manifest);
  packager::Bytes payload = builder.Build(static_cast<uint32_t>(stub.size()));
  OutputFile output(options.output);
  output.Write(stub.data(), stub.size());
  output.Write(payload.data(), payload.size());
  output.Commit();
  // Only after the output is in place: a failed pack reports its error alone.
  WarnAbout(builder);
  return 0;
}

}  // namespace vpack
