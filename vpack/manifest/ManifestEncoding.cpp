#include "vpack/manifest/ManifestEncoding.h"

#include "payload/Languages.h"
#include "payload/TextItems.h"
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
    setting.stored = encoded;
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

// A text is stored as read, in UTF-8; it is measured in the face of its
// language's own Windows, whose dialogs show it.
void CheckText(const payload::Language& language, const TextValue& text, const std::string& after,
               std::vector<std::string>& problems, std::vector<std::string>& warnings) {
  std::string problem = TranslationProblem(text.id, text.text);
  if (problem.empty() && text.text.size() > payload::kMaxTextBytes) {
    problem = "is " + std::to_string(text.text.size()) + " bytes in UTF-8; at most " +
              std::to_string(payload::kMaxTextBytes) + " fit";
  }
  std::string where = text.entry + " (" + language.tag + ")";
  if (!problem.empty()) {
    problems.push_back(where + " " + problem + after);
    return;
  }
  CodePage page(language.codePage);
  std::string unmeasured;
  std::string bytes = page.FromUtf8(text.text, unmeasured);
  std::string cut = unmeasured.empty() ? WidthWarning(page, text.id, bytes) : std::string();
  if (!cut.empty()) warnings.push_back(where + " " + cut + after);
}

}  // namespace

std::vector<std::string> EncodeText(Manifest& manifest) {
  CodePage page(manifest.codePage);
  std::vector<std::string> problems;
  for (SettingValue& setting : manifest.settings) {
    if (setting.info->kind == SettingKind::kText) EncodeSetting(page, setting, problems);
  }
  for (FileSpec& file : manifest.files) EncodeName(page, file, problems);
  for (const LanguageTexts& language : manifest.languages) {
    const payload::Language& known = *payload::FindLanguage(language.tag.c_str());
    for (const TextValue& text : language.texts) {
      CheckText(known, text, text.fromTranslation ? language.translation.takenBy : std::string(), problems,
                manifest.warnings);
    }
  }
  return problems;
}

}  // namespace vpack
