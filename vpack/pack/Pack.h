#pragma once
// vpack pack: an installer written from a manifest, the stub first, or with
// --dry-run what would be written.
#include <map>
#include <memory>
#include <string>

#include "vpack/base/Command.h"

namespace vpack {

struct PackOptions {
  std::string manifest;
  std::string output;
  std::string stub;     // a stub or a folder of both variants; else the manifest's
  bool strict = false;  // warnings are errors
  unsigned jobs = 0;    // compressing threads; 0: one per core
  std::map<std::string, std::string> variables;  // --var NAME=VALUE, over the manifests' [vars]
  bool dryRun = false;  // print the plan, write nothing
  bool json = false;    // the plan as JSON
  std::string signCommand;  // a shell command with {in} and {out}; else the manifest's [signing]
  bool quiet = false;       // no progress bar, even on a terminal
};

// Returns 0; throws Error when the installer cannot be written, leaving
// nothing behind.
int Pack(const PackOptions& options);

// `pack` on the command line, its options and help text.
std::unique_ptr<Command> PackCommand(CLI::App& app);

}  // namespace vpack
