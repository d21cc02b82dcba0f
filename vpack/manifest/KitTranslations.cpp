#include "vpack/manifest/KitTranslations.h"

#include <algorithm>

#include "vpack/base/KitFolder.h"
#include "vpack/base/SystemPath.h"

namespace vpack {

std::filesystem::path KitTranslationFolder() { return KitFolder(kKitTextsFolder); }

std::vector<std::string> TranslationNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->path().extension() != ".toml" || !it->is_regular_file(error)) continue;
    std::string name = TextOf(it->path().stem());
    if (name != kTemplateName) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace vpack
