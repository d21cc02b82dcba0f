#pragma once
// The include and exclude patterns of a [[folder]] entry: "*" any run of
// characters ("/" too), "?" one byte, "[abc]", "[a-z]" and "[!abc]" one of
// a set or not, "\" takes the next character as it is; ASCII letter case is
// ignored, as Windows does. vpack's own, so that vpack and vpack.exe match
// alike.
#include <string>

namespace vpack {

// A pattern without "/" is matched against the file's name alone, one with
// "/" against its path below the folder.
bool MatchesPattern(const std::string& pattern, const std::string& relativePath);

// The pattern against the whole of subject.
bool MatchesGlob(const std::string& pattern, const std::string& subject);

}  // namespace vpack
