// vpack: writes installers from a manifest and checks written ones.
#include <stdio.h>
#include <string.h>

#include "vpack/Commands.h"
#include "vpack/Error.h"

namespace {

int Dispatch(const std::string& command, const vpack::Arguments& arguments) {
  if (command == "pack") return vpack::RunPack(arguments);
  if (command == "list") return vpack::RunList(arguments);
  if (command == "verify") return vpack::RunVerify(arguments);
  if (command == "extract") return vpack::RunExtract(arguments);
  if (command == "help" || command == "--help" || command == "-h") {
    fputs(vpack::UsageText(), stdout);
    return 0;
  }
  throw vpack::UsageError("unknown command " + vpack::Quoted(command));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fputs(vpack::UsageText(), stderr);
    return 2;
  }
  try {
    return Dispatch(argv[1], vpack::Arguments(argv + 2, argv + argc));
  } catch (const vpack::UsageError& e) {
    fprintf(stderr, "vpack: error: %s\n%s", e.what(), vpack::UsageText());
    return 2;
  } catch (const vpack::Error& e) {
    fprintf(stderr, "vpack: error: %s\n", e.what());
    return 1;
  } catch (const std::exception& e) {
    fprintf(stderr, "vpack: error: %s\n", e.what());
    return 1;
  }
}
