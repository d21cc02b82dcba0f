#include "vpack/manifest/NamePattern.h"

namespace vpack {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The set that starts at pattern[at] ("["); at moves past its "]". False
// with at unmoved when the set is not closed.
bool InSet(const std::string& pattern, size_t& at, char c, bool& matched) {
  size_t i = at + 1;
  bool negated = i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^');
  if (negated) ++i;
  bool found = false;
  for (bool first = true; i < pattern.size() && (first || pattern[i] != ']'); first = false) {
    if (pattern[i] == '\\' && i + 1 < pattern.size()) ++i;
    char low = Lower(pattern[i++]);
    char high = low;
    if (i + 1 < pattern.size() && pattern[i] == '-' && pattern[i + 1] != ']') {
      i += pattern[i + 1] == '\\' && i + 2 < pattern.size() ? 2 : 1;
      high = Lower(pattern[i++]);
    }
    unsigned char u = static_cast<unsigned char>(Lower(c));
    found = found || (u >= static_cast<unsigned char>(low) && u <= static_cast<unsigned char>(high));
  }
  if (i >= pattern.size()) return false;
  at = i + 1;
  matched = found != negated;
  return true;
}

// Whether the pattern's element at p takes c; next receives where the
// element ends.
bool Takes(const std::string& pattern, size_t p, char c, size_t& next) {
  bool matched = false;
  next = p;
  if (pattern[p] == '[' && InSet(pattern, next, c, matched)) return matched;
  // A set left open matches nothing, as in fnmatch; a "[" at the end is itself.
  if (pattern[p] == '[' && p + 1 < pattern.size()) return false;
  if (pattern[p] == '?') {
    next = p + 1;
    return true;
  }
  size_t literal = pattern[p] == '\\' && p + 1 < pattern.size() ? p + 1 : p;
  next = literal + 1;
  return Lower(pattern[literal]) == Lower(c);
}

}  // namespace

bool MatchesGlob(const std::string& pattern, const std::string& subject) {
  size_t p = 0, s = 0;
  size_t starP = std::string::npos, starS = 0;
  while (s < subject.size()) {
    size_t next = p;
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starS = s;
    } else if (p < pattern.size() && Takes(pattern, p, subject[s], next)) {
      p = next;
      ++s;
    } else if (starP != std::string::npos) {
      // The last "*" takes one more character.
      p = starP;
      s = ++starS;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool MatchesPattern(const std::string& pattern, const std::string& relativePath, const CodePage& page) {
  std::string subject = relativePath;
  if (pattern.find('/') == std::string::npos) subject = relativePath.substr(relativePath.rfind('/') + 1);
  // In the code page, where every letter folds as Windows folds it; a text
  // the page cannot hold (the name is refused later) keeps ASCII's folding.
  std::string problem, otherProblem;
  std::string patternBytes = page.FromUtf8(pattern, problem);
  std::string subjectBytes = page.FromUtf8(subject, otherProblem);
  if (!problem.empty() || !otherProblem.empty()) return MatchesGlob(pattern, subject);
  return MatchesGlob(page.Folded(patternBytes), page.Folded(subjectBytes));
}

}  // namespace vpack
