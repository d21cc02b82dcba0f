#pragma once
// The publisher's signing command, run on the complete installer before it
// replaces the output: an unsigned installer meets warnings before the user
// can start it. The command names the file with two placeholders:
//   {in}   the complete, unsigned installer (required);
//   {out}  where the command writes the signed installer; a command without
//          it signs {in} in place.
// Any other {word} is refused, so that a misspelt placeholder is not passed
// on to the tool as a file name.
#include <stdint.h>
#include <toml++/toml.h>

#include <string>
#include <vector>

#include "vpack/manifest/ManifestValues.h"

namespace vpack {

struct SigningCommand {
  std::vector<std::string> arguments;  // run without a shell
  std::string shellText;               // or this, run by the shell (--sign-command)
  std::string folder;                  // where it runs; empty: the current folder
  std::string entry;                   // the manifest entry or option, for messages

  bool Empty() const { return arguments.empty() && shellText.empty(); }
};

// The manifest's [signing] table: command = [program, arguments...],
// variables expanded in each; it runs in the manifest's folder, so relative
// paths in it are the manifest's. Replaces what an included manifest gave.
void ReadSigning(const ManifestContext& context, const toml::node& node, SigningCommand& signing);
// --sign-command TEXT: a shell command line, the placeholders replaced by
// quoted paths. Throws Error when a placeholder is wrong.
SigningCommand ShellSigning(const std::string& text);
// The placeholders in use, for the command that runs it.
constexpr char kSignIn[] = "{in}";
constexpr char kSignOut[] = "{out}";

}  // namespace vpack
