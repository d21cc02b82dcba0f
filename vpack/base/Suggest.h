#pragma once
// A name vpack does not know is most often a known one misspelt: the
// message says which, so that the publisher need not look the list up.
#include <string>
#include <vector>

namespace vpack {

// The known name word most likely stands for: one that differs from it only
// in case, else the one fewest edits away (a letter added, dropped, changed
// or two swapped), if that is at most a third of word's length (one edit
// for the shortest words); empty when none is that near, as a far guess
// misleads more than none.
std::string NearestName(const std::string& word, const std::vector<std::string>& known);

// " (did you mean "NAME"?)" for the nearest known name, or otherwise when
// none is near: the form every message about an unknown name takes.
std::string DidYouMean(const std::string& word, const std::vector<std::string>& known,
                       const std::string& otherwise = std::string());

}  // namespace vpack
