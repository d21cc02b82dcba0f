#include "vpack/pack/Signing.h"

#include <stdio.h>
#include <string.h>

#include <filesystem>

#include "vpack/base/ChildProcess.h"
#include "vpack/base/Error.h"
#include "vpack/base/SystemPath.h"
#include "vpack/rules/StubCheck.h"
#include "vpack/read/InstallerFile.h"

namespace vpack {
namespace {

bool Names(const std::string& text, const char* placeholder) { return text.find(placeholder) != std::string::npos; }

std::string Replace(std::string text, const std::string& in, const std::string& out) {
  for (auto [placeholder, value] : {std::pair<const char*, const std::string*>{kSignIn, &in}, {kSignOut, &out}}) {
    for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value->size())) {
      text.replace(at, strlen(placeholder), *value);
    }
  }
  return text;
}

ChildOutcome RunCommand(const SigningCommand& signing, const std::string& in, const std::string& out) {
  if (!signing.shellText.empty()) {
    return RunShell(Replace(signing.shellText, ShellQuoted(in), ShellQuoted(out)), signing.folder);
  }
  std::vector<std::string> command;
  for (const std::string& argument : signing.arguments) command.push_back(Replace(argument, in, out));
  return RunChild(command, signing.folder);
}

bool UsesOut(const SigningCommand& signing) {
  if (!signing.shellText.empty()) return Names(signing.shellText, kSignOut);
  for (const std::string& argument : signing.arguments) {
    if (Names(argument, kSignOut)) return true;
  }
  return false;
}

// A tool that exits 0 is not yet proof: the result must still be this
// installer, its stub as packed, and carry a signature.
void CheckSigned(const SigningCommand& signing, const std::string& path, uint64_t stubSize) {
  try {
    InstallerFile installer(path);
    if (static_cast<uint64_t>(installer.Reader().MarkerOffset()) != stubSize) throw Error("moved");
  } catch (const Error&) {
    throw Error(signing.entry + " succeeded but its result is no longer the installer (its payload is not found)");
  }
  if (CheckStub(path, stubSize, 0).certificateSize == 0) {
    throw Error(signing.entry + " succeeded but the installer carries no Authenticode signature");
  }
}

}  // namespace

void SignInstaller(const SigningCommand& signing, const std::string& path, uint64_t stubSize) {
  // Absolute, since the command may run in another folder.
  std::string in = TextOf(std::filesystem::absolute(PathOf(path)));
  std::string out = UsesOut(signing) ? in + "-signed" : in;
  ChildOutcome outcome = RunCommand(signing, in, out);
  if (!outcome.succeeded) {
    if (out != in) RemoveFile(out);
    throw Error(signing.entry + " " + outcome.ending +
                (outcome.lastError.empty() ? std::string(" and wrote nothing to stderr") : ": " + outcome.lastError));
  }
  if (out != in && !MoveOver(out, in)) {
    RemoveFile(out);
    throw Error(signing.entry + " succeeded but wrote no signed installer to {out}");
  }
  CheckSigned(signing, path, stubSize);
}

}  // namespace vpack
