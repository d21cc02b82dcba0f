#include "vpack/cli/Console.h"

namespace vpack {

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

}  // namespace vpack
