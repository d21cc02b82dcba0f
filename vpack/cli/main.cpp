// vpack: writes installers from a manifest and checks written ones.
// Exit status: 0 done, 1 the task failed, 2 the command line is wrong.
#include <stdio.h>

#include <CLI/CLI.hpp>

#include <algorithm>

#include "vpack/base/CodePage.h"
#include "vpack/base/Commands.h"
#include "vpack/base/Error.h"
#include "vpack/cli/Console.h"
#include "vpack/cli/Reference.h"

#ifndef VPACK_VERSION
#define VPACK_VERSION "0.0"
#endif

namespace {

constexpr char kUsage[] =
    "usage: vpack pack MANIFEST -o OUTPUT [--stub STUB|STUB_FOLDER] [--strict] [--jobs N] [--sign-command CMD]\n"
    "                  [--var NAME=VALUE]... [--dry-run [--json]] [--quiet]\n"
    "       vpack verify INSTALLER... [--json] [--code-page N] [--quiet]\n"
    "       vpack list INSTALLER [--json] [--code-page N]\n"
    "       vpack extract INSTALLER -o FOLDER [--stored] [--code-page N] [--quiet]\n"
    "       vpack help, vpack COMMAND --help, vpack --version\n";

constexpr char kExitCodes[] = "Exit status: 0 done, 1 failed (one line on stderr says why), 2 wrong command line.";

struct Parsed {
  vpack::PackOptions pack;
  std::string installer;
  std::vector<std::string> installers;  // verify's
  std::vector<std::string> variables;   // --var NAME=VALUE
  std::string folder;
  bool json = false;
  unsigned codePage = vpack::kRecordedCodePage;
  bool stored = false;
  bool quiet = false;
};

void AddPack(CLI::App& app, Parsed& parsed) {
  CLI::App* pack = app.add_subcommand("pack", "Write an installer: the stub, then the manifest's payload");
  pack->add_option("MANIFEST", parsed.pack.manifest, "The manifest (see docs/manifest.md)")->required();
  pack->add_option("-o,--output", parsed.pack.output,
                   "The installer to write; replaced only when complete (required unless --dry-run)");
  pack->add_option("--stub", parsed.pack.stub,
                   "A stub, or a folder holding VandrelStub.exe and VandrelStubAdmin.exe (default: the manifest's)");
  pack->add_flag("--strict", parsed.pack.strict, "Treat warnings as errors");
  pack->add_option("-j,--jobs", parsed.pack.jobs, "Threads compressing files (default: one per core)")
      ->check(CLI::Range(1u, 256u));
  pack->add_option("--sign-command", parsed.pack.signCommand,
                   "Shell command that signs the installer: {in} the unsigned file, {out} where the signed one "
                   "goes (without {out}: signs {in} in place); wins over the manifest's [signing]");
  pack->add_option("--var", parsed.variables, "A variable for ${NAME} in the manifests, over their [vars]; repeatable")
      ->allow_extra_args(false);
  pack->add_flag("--dry-run", parsed.pack.dryRun, "Check and print what would be packed; write nothing");
  pack->add_flag("--json", parsed.pack.json, "With --dry-run: the plan as JSON");
  pack->add_flag("-q,--quiet", parsed.pack.quiet, "No progress bar, even on a terminal");
}

// NAME=VALUE; the manifests' variables are named alike.
void TakeVariables(Parsed& parsed) {
  for (const std::string& given : parsed.variables) {
    size_t equals = given.find('=');
    if (equals == 0 || equals == std::string::npos || given.find("${") != std::string::npos) {
      throw CLI::ValidationError("--var", "\"" + given + "\" is not NAME=VALUE");
    }
    parsed.pack.variables[given.substr(0, equals)] = given.substr(equals + 1);
  }
  if (parsed.pack.output.empty() && !parsed.pack.dryRun) throw CLI::RequiredError("--output");
  if (parsed.pack.json && !parsed.pack.dryRun) throw CLI::ValidationError("--json", "goes with --dry-run");
}

// vpack records the code page in the installer; an installer of an earlier
// vpack needs to be told (1252 otherwise).
void AddCodePage(CLI::App* command, Parsed& parsed) {
  command
      ->add_option("--code-page", parsed.codePage,
                   "The code page the installer was packed with (default: the one it records, else 1252)")
      ->check(CLI::IsMember({874u, 1250u, 1251u, 1252u, 1253u, 1254u, 1255u, 1256u, 1257u, 1258u}));
}

void AddInspection(CLI::App& app, Parsed& parsed) {
  CLI::App* verify = app.add_subcommand("verify", "Check that an installer will do its job; one line per problem");
  verify->add_option("INSTALLER", parsed.installers, "The installers to check")->required();
  verify->add_flag("--json", parsed.json, "The results as JSON, for scripts");
  verify->add_flag("-q,--quiet", parsed.quiet, "No progress bar, even on a terminal");
  AddCodePage(verify, parsed);
  CLI::App* list = app.add_subcommand("list", "Show an installer's items: store, size, list");
  list->add_option("INSTALLER", parsed.installer, "The installer to read")->required();
  list->add_flag("--json", parsed.json, "The same as JSON, for scripts");
  AddCodePage(list, parsed);
  CLI::App* extract = app.add_subcommand("extract", "Write an installer's items out as the installation would");
  extract->add_option("INSTALLER", parsed.installer, "The installer to read")->required();
  extract->add_option("-o,--output", parsed.folder, "The folder to write into")->required();
  extract->add_flag("--stored", parsed.stored, "Write the files the engine decodes as stored, in its format");
  extract->add_flag("-q,--quiet", parsed.quiet, "No progress bar, even on a terminal");
  AddCodePage(extract, parsed);
}

int Run(const CLI::App& app, const Parsed& parsed) {
  if (app.got_subcommand("help")) {
    fputs(vpack::kReference, stdout);
    return 0;
  }
  if (app.got_subcommand("pack")) return vpack::Pack(parsed.pack);
  if (app.got_subcommand("verify")) {
    return vpack::Verify(parsed.installers, parsed.json, parsed.codePage, parsed.quiet);
  }
  if (app.got_subcommand("list")) return vpack::List(parsed.installer, parsed.json, parsed.codePage);
  return vpack::Extract(parsed.installer, parsed.folder, parsed.stored, parsed.codePage, parsed.quiet);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("vpack " VPACK_VERSION ": packs Vandrel installers and checks them", "vpack");
  app.set_version_flag("--version", "vpack " VPACK_VERSION);
  app.footer(kExitCodes);
  app.require_subcommand(1);
  Parsed parsed;
  AddPack(app, parsed);
  AddInspection(app, parsed);
  app.add_subcommand("help", "Show the reference page: every command, option, output and exit status");
  try {
    std::vector<std::string> arguments = vpack::Utf8Arguments(argc, argv);
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
    // CLI11 would only say that a command is required.
    const std::vector<std::string> commands = {"pack", "verify", "list", "extract", "help"};
    if (arguments.size() > 1 && arguments[1][0] != '-' &&
        std::find(commands.begin(), commands.end(), arguments[1]) == commands.end()) {
      throw CLI::ValidationError("unknown command " + vpack::Quoted(arguments[1]) +
                                 " (pack, verify, list, extract or help)");
    }
    app.parse(static_cast<int>(pointers.size()), pointers.data());
    if (app.got_subcommand("pack")) TakeVariables(parsed);
  } catch (const CLI::Success& e) {
    return app.exit(e);  // --help and --version
  } catch (const CLI::ParseError& e) {
    fprintf(stderr, "vpack: error: %s\n%s", e.what(), kUsage);
    return 2;
  }
  try {
    return Run(app, parsed);
  } catch (const std::exception& e) {
    // Several problems found in one run come one to a line.
    std::string message = e.what();
    for (size_t at = 0; at <= message.size();) {
      size_t end = std::min(message.find('\n', at), message.size());
      fprintf(stderr, "vpack: error: %s\n", message.substr(at, end - at).c_str());
      at = end + 1;
    }
    return 1;
  }
}
