#pragma once
// The publisher's licence, shown for acceptance before anything else is
// asked: one item per language it is written in, of a type of its own,
// named by the language's tag, or "*" for the one that serves every other
// language; its text in UTF-16LE with CRLF line ends and a terminating
// NUL, as the box shows it, so that the stub converts nothing.
#include <stdint.h>

namespace payload {

inline constexpr char kTypeLicence[] = "LICN";
inline constexpr char kLicenceForAll[] = "*";
// More than any licence runs to; what the stub takes into memory to show.
constexpr uint32_t kMaxLicenceBytes = 512 * 1024;

}  // namespace payload
