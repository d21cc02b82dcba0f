#include "vpack/base/Suggest.h"

#include <algorithm>

#include "vpack/base/Error.h"

namespace vpack {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

// Edits between a and b, a swap of two neighbours counting as one: typing
// "stroe" for "store" is one slip, not two.
size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t changed = d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, changed});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

std::string NearestName(const std::string& word, const std::vector<std::string>& known) {
  std::string lower = Lower(word);
  for (const std::string& name : known) {
    if (Lower(name) == lower) return name;
  }
  size_t bound = std::max<size_t>(1, word.size() / 3);
  const std::string* nearest = nullptr;
  size_t best = bound + 1;
  for (const std::string& name : known) {
    size_t distance = EditDistance(lower, Lower(name));
    if (distance < best) {
      best = distance;
      nearest = &name;
    }
  }
  return nearest != nullptr ? *nearest : std::string();
}

std::string DidYouMean(const std::string& word, const std::vector<std::string>& known, const std::string& otherwise) {
  std::string nearest = NearestName(word, known);
  return nearest.empty() ? otherwise : " (did you mean " + Quoted(nearest) + "?)";
}

}  // namespace vpack
