#include "vpack/manifest/ManifestText.h"

#include "vpack/rules/TextRules.h"
#include "vpack/rules/TextWidths.h"

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

// after ends the message: for a translation's text, the manifest that takes it.
void EncodeTranslated(const CodePage& page, TextValue& text, const std::string& after,
                      std::vector<std::string>& problems, std::vector<std::string>& warnings) {
  std::string problem = TranslationProblem(text.id, text.text);
  std::string encoded = problem.empty() ? TextInCodePage(page, text.text, problem) : std::string();
  if (!problem.empty()) {
    problems.push_back(text.entry + " " + problem + after);
    return;
  }
  text.text = encoded;
  std::string cut = WidthWarning(page, text.id, encoded);
  if (!cut.empty()) warnings.push_back(text.entry + " " + cut + after);
}

// A translation used under another code page than its own fails on most of
// its texts for one reason: the first and that reason say it, not a line a
// text.
void AddTranslationProblems(const Manifest& manifest, std::vector<std::string>& translated,
                            std::vector<std::string>& problems) {
  const TranslationSpec& translation = manifest.translation;
  bool otherPage = translation.codePage != 0 && translation.codePage != manifest.codePage;
  if (translated.empty() || !otherPage) {
    problems.insert(problems.end(), translated.begin(), translated.end());
    return;
  }
  problems.push_back(translated.front());
  problems.push_back(translation.entry + ": is written for code-page = " + std::to_string(translation.codePage) +
                     ", and the manifest's code-page is " + std::to_string(manifest.codePage) + " (" +
                     std::to_string(translated.size()) + " of its texts cannot be written in it)");
}

}  // namespace

std::vector<std::string> EncodeText(Manifest& manifest) {
  CodePage page(manifest.codePage);
  std::vector<std::string> problems;
  for (SettingValue& setting : manifest.settings) {
    if (setting.info->kind == SettingKind::kText) EncodeSetting(page, setting, problems);
  }
  for (FileSpec& file : manifest.files) EncodeName(page, file, problems);
  std::vector<std::string> translated;
  for (TextValue& text : manifest.texts) {
    if (text.fromTranslation) {
      EncodeTranslated(page, text, manifest.translation.takenBy, translated, manifest.warnings);
    } else {
      EncodeTranslated(page, text, std::string(), problems, manifest.warnings);
    }
  }
  AddTranslationProblems(manifest, translated, problems);
  return problems;
}

}  // namespace vpack
