#pragma once
// How the uninstaller was asked to run, and the quoting that carries a folder
// to its temporary copy intact.
#include <stdint.h>

#include <string>
#include <vector>

namespace uninstaller {

enum class Mode {
  kHandOver,  // no arguments: start a temporary copy, which does the work
  kFrom,      // --from <folder> [--wait <pid>]: the temporary copy
  kHere,      // --here: work on its own folder directly
};

struct Options {
  Mode mode = Mode::kHandOver;
  std::string folder;       // for kFrom
  uint32_t waitForPid = 0;  // for kFrom; 0 when not given
};

// Splits a command line the way the C runtime does, program name included.
std::vector<std::string> SplitCommandLine(const char* line);
// False when the arguments (program name excluded) make no sense.
bool ParseOptions(const std::vector<std::string>& arguments, Options* options);
// The argument quoted so that SplitCommandLine gives it back unchanged.
std::string QuoteArgument(const std::string& argument);

}  // namespace uninstaller
