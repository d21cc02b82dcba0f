// The command lines of list, verify and extract.
#include "vpack/Commands.h"
#include "vpack/Error.h"

namespace vpack {
namespace {

bool IsOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

std::string OneInstaller(const char* command, const Arguments& arguments) {
  if (arguments.size() != 1 || IsOption(arguments[0])) throw UsageError(std::string(command) + " takes one installer");
  return arguments[0];
}

}  // namespace

int RunList(const Arguments& arguments) {
  Arguments rest;
  bool json = false;
  for (const std::string& argument : arguments) {
    if (argument == "--json") {
      json = true;
    } else {
      rest.push_back(argument);
    }
  }
  return List(OneInstaller("list", rest), json);
}

int RunVerify(const Arguments& arguments) { return Verify(OneInstaller("verify", arguments)); }

int RunExtract(const Arguments& arguments) {
  Arguments rest;
  std::string folder;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "-o" || arguments[i] == "--output") {
      if (i + 1 >= arguments.size()) throw UsageError(arguments[i] + " needs a value");
      folder = arguments[++i];
    } else {
      rest.push_back(arguments[i]);
    }
  }
  if (folder.empty()) throw UsageError("extract needs -o FOLDER");
  return Extract(OneInstaller("extract", rest), folder);
}

const char* UsageText() {
  return "usage: vpack pack MANIFEST -o OUTPUT [--stub STUB|STUB_FOLDER]\n"
         "       vpack list INSTALLER [--json]\n"
         "       vpack verify INSTALLER\n"
         "       vpack extract INSTALLER -o FOLDER\n";
}

}  // namespace vpack
