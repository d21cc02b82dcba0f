// vpack: writes installers from a manifest and checks written ones. Each
// command is a room of its own (options, help text, body); main only picks
// the one given and reports its failure.
// Exit status: 0 done, 1 the task failed, 2 the command line is wrong.
#include <stdio.h>

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "vpack/base/Command.h"
#include "vpack/base/Error.h"
#include "vpack/cli/Console.h"
#include "vpack/cli/Reference.h"
#include "vpack/extract/ExtractCommand.h"
#include "vpack/list/ListCommand.h"
#include "vpack/pack/Pack.h"
#include "vpack/verify/VerifyCommand.h"

#ifndef VPACK_VERSION
#define VPACK_VERSION "0.0"
#endif

namespace {

using Commands = std::vector<std::unique_ptr<vpack::Command>>;

constexpr char kExitCodes[] = "Exit status: 0 done, 1 failed (one line on stderr says why), 2 wrong command line.";

std::string Usage(const Commands& commands) {
  std::string usage;
  for (const auto& command : commands) {
    usage += (usage.empty() ? "usage: vpack " : "       vpack ") + std::string(command->Usage()) + "\n";
  }
  return usage + "       vpack help, vpack COMMAND --help, vpack --version\n";
}

// CLI11 would only say that a command is required.
void RefuseUnknownCommand(const std::vector<std::string>& arguments, const Commands& commands) {
  if (arguments.size() < 2 || arguments[1][0] == '-' || arguments[1] == "help") return;
  std::string names;
  for (const auto& command : commands) {
    if (command->Name() == arguments[1]) return;
    names += command->Name() + ", ";
  }
  names.resize(names.size() - 2);
  throw CLI::ValidationError("unknown command " + vpack::Quoted(arguments[1]) + " (" + names + " or help)");
}

int Run(const CLI::App& app, const Commands& commands) {
  if (app.got_subcommand("help")) {
    fputs(vpack::kReference, stdout);
    return 0;
  }
  for (const auto& command : commands) {
    if (command->Given()) return command->Run();
  }
  return 2;  // require_subcommand(1) leaves no other case
}

// Several problems found in one run come one to a line.
void ReportFailure(const std::string& message) {
  for (size_t at = 0; at <= message.size();) {
    size_t end = std::min(message.find('\n', at), message.size());
    fprintf(stderr, "vpack: error: %s\n", message.substr(at, end - at).c_str());
    at = end + 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("vpack " VPACK_VERSION ": packs Vandrel installers and checks them", "vpack");
  app.set_version_flag("--version", "vpack " VPACK_VERSION);
  app.footer(kExitCodes);
  app.require_subcommand(1);
  Commands commands;
  commands.push_back(vpack::PackCommand(app));
  commands.push_back(vpack::VerifyCommand(app));
  commands.push_back(vpack::ListCommand(app));
  commands.push_back(vpack::ExtractCommand(app));
  app.add_subcommand("help", "Show the reference page: every command, option, output and exit status");
  try {
    std::vector<std::string> arguments = vpack::Utf8Arguments(argc, argv);
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
    RefuseUnknownCommand(arguments, commands);
    app.parse(static_cast<int>(pointers.size()), pointers.data());
    for (const auto& command : commands) {
      if (command->Given()) command->CheckOptions();
    }
  } catch (const CLI::Success& e) {
    return app.exit(e);  // --help and --version
  } catch (const CLI::ParseError& e) {
    fprintf(stderr, "vpack: error: %s\n%s", e.what(), Usage(commands).c_str());
    return 2;
  }
  try {
    return Run(app, commands);
  } catch (const std::exception& e) {
    ReportFailure(e.what());
    return 1;
  }
}
