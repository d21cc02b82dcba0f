#pragma once
// The translations the kit ships: texts/<name>.toml beside bin/ (in a build
// tree, beside the folder vpack is built in), each a language's words for
// every text of the installer. template.toml is the one to copy, not one to
// take.
#include <filesystem>
#include <string>
#include <vector>

namespace vpack {

constexpr char kKitTextsFolder[] = "texts";
constexpr char kTemplateName[] = "template";

// The kit's folder of translations; empty when vpack's own program cannot
// be told.
std::filesystem::path KitTranslationFolder();

// The names of the translations in folder, sorted; none when it has none.
std::vector<std::string> TranslationNames(const std::filesystem::path& folder);

}  // namespace vpack
