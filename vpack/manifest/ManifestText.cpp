#include "vpack/manifest/ManifestText.h"

namespace vpack {
namespace {

std::string InCodePage(const CodePage& page) { return " in code page " + std::to_string(page.Number()); }

void EncodeSetting(const CodePage& page, SettingValue& setting, std::vector<std::string>& problems) {
  std::string problem;
  std::string encoded = page.FromUtf8(setting.text, problem);
  if (!problem.empty()) {
    problems.push_back(setting.entry + " " + problem);
  } else if (encoded.size() > kMaxSettingText) {
    problems.push_back(setting.entry + " is " + std::to_string(encoded.size()) + " bytes" + InCodePage(page) +
                       "; at most " + std::to_string(kMaxSettingText) + " fit");
  } else {
    setting.text = encoded;
  }
}

// Lengths are checked with the other name rules, on the converted bytes.
void EncodeName(const CodePage& page, FileSpec& file, std::vector<std::string>& problems) {
  std::string problem;
  std::string encoded = page.FromUtf8(file.name, problem);
  if (!problem.empty()) {
    problems.push_back(file.entry + ": the name " + problem);
  } else {
    file.name = encoded;
  }
}

}  // namespace

std::vector<std::string> EncodeText(Manifest& manifest) {
  CodePage page(manifest.codePage);
  std::vector<std::string> problems;
  for (SettingValue& setting : manifest.settings) {
    if (setting.info->kind == SettingKind::kText) EncodeSetting(page, setting, problems);
  }
  for (FileSpec& file : manifest.files) EncodeName(page, file, problems);
  return problems;
}

}  // namespace vpack
