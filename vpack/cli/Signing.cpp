#include "vpack/cli/Signing.h"

#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <filesystem>

#include "vpack/base/ChildProcess.h"
#include "vpack/base/Error.h"
#include "vpack/pe/StubCheck.h"
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

std::string ShellQuoted(const std::string& path) {
  std::string quoted = "'";
  for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::vector<std::string> CommandFor(const SigningCommand& signing, const std::string& in, const std::string& out) {
  if (signing.shellText.empty()) {
    std::vector<std::string> command;
    for (const std::string& argument : signing.arguments) command.push_back(Replace(argument, in, out));
    return command;
  }
  return {"/bin/sh", "-c", Replace(signing.shellText, ShellQuoted(in), ShellQuoted(out))};
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
  std::string in = std::filesystem::absolute(path).string();
  std::string out = UsesOut(signing) ? in + "-signed" : in;
  ChildOutcome outcome = RunChild(CommandFor(signing, in, out), signing.folder);
  if (!outcome.succeeded) {
    if (out != in) unlink(out.c_str());
    throw Error(signing.entry + " " + outcome.ending +
                (outcome.lastError.empty() ? std::string(" and wrote nothing to stderr") : ": " + outcome.lastError));
  }
  if (out != in && rename(out.c_str(), in.c_str()) != 0) {
    unlink(out.c_str());
    throw Error(signing.entry + " succeeded but wrote no signed installer to {out}");
  }
  CheckSigned(signing, path, stubSize);
}

}  // namespace vpack
