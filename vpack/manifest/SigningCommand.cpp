#include "vpack/manifest/SigningCommand.h"

#include "vpack/base/Error.h"
#include "vpack/base/SystemPath.h"

namespace vpack {
namespace {

bool Names(const std::string& text, const char* placeholder) { return text.find(placeholder) != std::string::npos; }

// "{word}" other than the two placeholders is most likely a misspelt one.
void CheckPlaceholders(const std::string& entry, const std::vector<std::string>& parts) {
  bool namesIn = false;
  for (const std::string& part : parts) {
    namesIn = namesIn || Names(part, kSignIn);
    for (size_t open = part.find('{'); open != std::string::npos; open = part.find('{', open + 1)) {
      size_t close = part.find('}', open);
      if (close == std::string::npos) break;
      std::string word = part.substr(open, close - open + 1);
      bool isWord = word.size() > 2 && word.find_first_not_of("abcdefghijklmnopqrstuvwxyz_-", 1) == word.size() - 1;
      if (isWord && word != kSignIn && word != kSignOut) {
        throw Error(entry + " has unknown placeholder " + Quoted(word) + " ({in} the installer, {out} the signed one)");
      }
    }
  }
  if (!namesIn) throw Error(entry + " does not name the installer: it needs {in} (and {out} unless it signs in place)");
}

}  // namespace

void ReadSigning(const ManifestContext& context, const toml::node& node, SigningCommand& signing) {
  const toml::table* table = node.as_table();
  if (table == nullptr) context.Fail(node, std::string("signing must be a table, not ") + TypeName(node));
  ExpectKeys(context, "signing", *table, {"command"});
  const toml::node* command = table->get("command");
  if (command == nullptr || !command->is_array()) {
    context.Fail(command != nullptr ? *command : node, "signing command must be an array of strings");
  }
  SigningCommand read;
  read.entry = context.Entry(*command, "signing command");
  for (const toml::node* part : ExpectStringNodes(context, "signing command", *command)) {
    read.arguments.push_back(context.Expand("signing command", *part));
  }
  if (read.arguments.empty()) context.Fail(*command, "signing command is empty");
  CheckPlaceholders(read.entry, read.arguments);
  read.folder = context.folder.empty() ? "." : TextOf(context.folder);
  signing = read;
}

SigningCommand ShellSigning(const std::string& text) {
  SigningCommand signing;
  signing.shellText = text;
  signing.entry = "--sign-command";
  CheckPlaceholders(signing.entry, {text});
  return signing;
}

}  // namespace vpack
