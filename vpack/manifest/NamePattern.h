#pragma once
// The include and exclude patterns of a [[folder]] entry: "*" any run of
// characters ("/" too), "?" one character, "[abc]", "[a-z]" and "[!abc]" one
// of a set or not, "\" takes the next character as it is; letter case is
// ignored as Windows ignores it, by the same folding as the check for two
// items that are one file (CodePage::Folded). vpack's own, so that vpack and
// vpack.exe match alike.
#include <string>

#include "vpack/base/CodePage.h"

namespace vpack {

// A pattern without "/" is matched against the file's name alone, one with
// "/" against its path below the folder; both are UTF-8, compared in the
// manifest's code page character by character.
bool MatchesPattern(const std::string& pattern, const std::string& relativePath, const CodePage& page);

// The pattern against the whole of subject, each byte a character, with
// ASCII case ignored.
bool MatchesGlob(const std::string& pattern, const std::string& subject);

}  // namespace vpack
