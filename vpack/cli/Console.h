#pragma once
// vpack's command line and output in UTF-8 on every system: on Windows the
// arguments are taken in UTF-16, not in the ANSI code page, and the output
// is written as its bytes, without line ends turned into CR LF, so that
// vpack.exe prints what vpack prints.
#include <string>
#include <vector>

namespace vpack {

// The arguments, the program's name first.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace vpack
