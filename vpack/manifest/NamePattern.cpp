#include "vpack/manifest/NamePattern.h"

#include <vector>

namespace vpack {
namespace {

// The text's characters, each as its code (a byte, or lead byte * 256 +
// second byte): a second byte is never taken for '\', '[', ']' or '^', nor
// for a letter to fold, and "?" takes a whole character.
using Characters = std::vector<unsigned>;

Characters CharactersOf(const std::string& bytes, const CodePage& page) {
  Characters characters;
  for (size_t at = 0; at < bytes.size();) {
    size_t next = page.NextCharacter(bytes, at);
    unsigned code = static_cast<unsigned char>(bytes[at]);
    if (next - at == 2) code = code << 8 | static_cast<unsigned char>(bytes[at + 1]);
    characters.push_back(code);
    at = next;
  }
  return characters;
}

unsigned Lower(unsigned c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

// The set that starts at pattern[at] ("["); at moves past its "]". False
// with at unmoved when the set is not closed.
bool InSet(const Characters& pattern, size_t& at, unsigned c, bool& matched) {
  size_t i = at + 1;
  bool negated = i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^');
  if (negated) ++i;
  bool found = false;
  for (bool first = true; i < pattern.size() && (first || pattern[i] != ']'); first = false) {
    if (pattern[i] == '\\' && i + 1 < pattern.size()) ++i;
    unsigned low = Lower(pattern[i++]);
    unsigned high = low;
    if (i + 1 < pattern.size() && pattern[i] == '-' && pattern[i + 1] != ']') {
      i += pattern[i + 1] == '\\' && i + 2 < pattern.size() ? 2 : 1;
      high = Lower(pattern[i++]);
    }
    found = found || (Lower(c) >= low && Lower(c) <= high);
  }
  if (i >= pattern.size()) return false;
  at = i + 1;
  matched = found != negated;
  return true;
}

// Whether the pattern's element at p takes c; next receives where the
// element ends.
bool Takes(const Characters& pattern, size_t p, unsigned c, size_t& next) {
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

bool MatchesCharacters(const Characters& pattern, const Characters& subject) {
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

}  // namespace

bool MatchesGlob(const std::string& pattern, const std::string& subject) {
  CodePage bytes(kDefaultCodePage);
  return MatchesCharacters(CharactersOf(pattern, bytes), CharactersOf(subject, bytes));
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
  return MatchesCharacters(CharactersOf(page.Folded(patternBytes), page),
                           CharactersOf(page.Folded(subjectBytes), page));
}

}  // namespace vpack
