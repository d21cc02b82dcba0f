#pragma once
// Whether the bytes before the payload are an intact installer stub: a
// Windows program that holds the window class the engine is started with,
// does not hold the marker in one piece (its scan would find that copy
// first; the stub joins two halves at run time, and whether the halves show
// as text depends on the compiler), and whose image checksum still matches.
// The linker stamps that checksum into every stub it builds, so a changed
// byte shows without a copy of the stub to compare with; a publisher's
// signature, added after the payload, stamps it again over the whole file.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace vpack {

// One line per problem; the stub is the installer's first stubSize bytes.
// Only they are held in memory: a signed file's checksum is summed as it is
// read. Throws Error when the file cannot be read.
std::vector<std::string> StubProblems(const std::string& installer, uint64_t stubSize);

}  // namespace vpack
