// vpack pack MANIFEST -o OUTPUT [--stub S] [--strict] [--jobs N] [--sign-command C] [--var N=V] [--dry-run]
#include "vpack/pack/Pack.h"

#include <string>
#include <vector>

namespace vpack {
namespace {

class PackLine : public Command {
 public:
  explicit PackLine(CLI::App& app)
      : Command(app, "pack", "Write an installer: the stub, then the manifest's payload",
                "pack MANIFEST -o OUTPUT [--stub STUB|STUB_FOLDER] [--strict] [--jobs N] [--sign-command CMD]\n"
                "                  [--var NAME=VALUE]... [--dry-run [--json]] [--quiet]") {
    line_->add_option("MANIFEST", options_.manifest, "The manifest (see docs/manifest.md)")->required();
    line_->add_option("-o,--output", options_.output,
                      "The installer to write; replaced only when complete (required unless --dry-run)");
    line_->add_option("--stub", options_.stub,
                      "A stub, or a folder holding VandrelStub.exe and VandrelStubAdmin.exe (default: the manifest's)");
    line_->add_flag("--strict", options_.strict, "Treat warnings as errors");
    line_->add_option("-j,--jobs", options_.jobs, "Threads compressing files (default: one per core)")
        ->check(CLI::Range(1u, 256u));
    line_->add_option("--sign-command", options_.signCommand,
                      "Shell command that signs the installer: {in} the unsigned file, {out} where the signed one "
                      "goes (without {out}: signs {in} in place); wins over the manifest's [signing]");
    line_->add_option("--var", variables_, "A variable for ${NAME} in the manifests, over their [vars]; repeatable")
        ->allow_extra_args(false);
    line_->add_flag("--dry-run", options_.dryRun, "Check and print what would be packed; write nothing");
    line_->add_flag("--json", options_.json, "With --dry-run: the plan as JSON");
    line_->add_flag("-q,--quiet", options_.quiet, "No progress bar, even on a terminal");
  }

  // NAME=VALUE; the manifests' variables are named alike.
  void CheckOptions() override {
    for (const std::string& given : variables_) {
      size_t equals = given.find('=');
      if (equals == 0 || equals == std::string::npos || given.find("${") != std::string::npos) {
        throw CLI::ValidationError("--var", "\"" + given + "\" is not NAME=VALUE");
      }
      options_.variables[given.substr(0, equals)] = given.substr(equals + 1);
    }
    if (options_.output.empty() && !options_.dryRun) throw CLI::RequiredError("--output");
    if (options_.json && !options_.dryRun) throw CLI::ValidationError("--json", "goes with --dry-run");
  }

  int Run() override { return Pack(options_); }

 private:
  PackOptions options_;
  std::vector<std::string> variables_;  // --var NAME=VALUE as given
};

}  // namespace

std::unique_ptr<Command> PackCommand(CLI::App& app) { return std::make_unique<PackLine>(app); }

}  // namespace vpack
