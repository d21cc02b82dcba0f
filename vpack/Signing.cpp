#include "vpack/Signing.h"

#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <filesystem>

#include "vpack/ChildProcess.h"
#include "vpack/Error.h"
#include "vpack/InstallerFile.h"
#include "vpack/StubCheck.h"

namespace vpack {
namespace {

constexpr char kIn[] = "{in}";
constexpr char kOut[] = "{out}";

bool Names(const std::string& text, const char* placeholder) { return text.find(placeholder) != std::string::npos; }

// "{word}" other than the two placeholders is most likely a misspelt one.
void CheckPlaceholders(const std::string& entry, const std::vector<std::string>& parts) {
  bool namesIn = false;
  for (const std::string& part : parts) {
    namesIn = namesIn || Names(part, kIn);
    for (size_t open = part.find('{'); open != std::string::npos; open = part.find('{', open + 1)) {
      size_t close = part.find('}', open);
      if (close == std::string::npos) break;
      std::string word = part.substr(open, close - open + 1);
      bool isWord = word.size() > 2 && word.find_first_not_of("abcdefghijklmnopqrstuvwxyz_-", 1) == word.size() - 1;
      if (isWord && word != kIn && word != kOut) {
        throw Error(entry + " has unknown placeholder " + Quoted(word) + " ({in} the installer, {out} the signed one)");
      }
    }
  }
  if (!namesIn) throw Error(entry + " does not name the installer: it needs {in} (and {out} unless it signs in place)");
}

std::string Replace(std::string text, const std::string& in, const std::string& out) {
  for (auto [placeholder, value] : {std::pair<const char*, const std::string*>{kIn, &in}, {kOut, &out}}) {
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
  if (!signing.shellText.empty()) return Names(signing.shellText, kOut);
  for (const std::string& argument : signing.arguments) {
    if (Names(argument, kOut)) return true;
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

void ReadSigning(const ManifestContext& context, const toml::node& node, SigningCommand& signing) {
  const toml::table* table = node.as_table();
  if (table == nullptr) context.Fail(std::string("signing must be a table, not ") + TypeName(node));
  ExpectKeys(context, "signing", *table, {"command"});
  const toml::node* command = table->get("command");
  if (command == nullptr || !command->is_array()) context.Fail("signing command must be an array of strings");
  SigningCommand read;
  read.entry = context.path + ": signing command";
  for (const std::string& part : ExpectStrings(context, "signing command", *command)) {
    read.arguments.push_back(context.Expand("signing command", part));
  }
  if (read.arguments.empty()) context.Fail("signing command is empty");
  CheckPlaceholders(read.entry, read.arguments);
  read.folder = context.folder.empty() ? "." : context.folder.string();
  signing = read;
}

SigningCommand ShellSigning(const std::string& text) {
  SigningCommand signing;
  signing.shellText = text;
  signing.entry = "--sign-command";
  CheckPlaceholders(signing.entry, {text});
  return signing;
}

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
