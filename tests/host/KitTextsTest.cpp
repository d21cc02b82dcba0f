// The kit's translation files against the table of texts: a translation
// that lost a key, a placeholder or a line break, or holds a letter its code
// page lacks, would ship an installer that speaks English or garbles a
// message, or a dialog word too long for its control shows cut short; a
// template behind the table would leave translators a text short.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include <toml++/toml.h>

#include "payload/Texts.h"
#include "vpack/base/CodePage.h"
#include "vpack/rules/TextRules.h"
#include "vpack/rules/TextWidths.h"

namespace {

const std::string kFolder = VDL_SOURCE_DIR "/docs/kit/texts/";

// The [texts] table of a kit file, key to text.
std::map<std::string, std::string> TextsOf(const toml::table& file) {
  std::map<std::string, std::string> texts;
  if (const toml::table* table = file.get_as<toml::table>("texts")) {
    for (auto&& [key, value] : *table) texts[std::string(key.str())] = value.value_or(std::string("(not a string)"));
  }
  return texts;
}

std::string LineBreaks(const std::string& text) {
  std::string breaks;
  for (char c : text) {
    if (c == '\r' || c == '\n') breaks += c;
  }
  return breaks;
}

TEST(KitTexts, EveryTranslation_CompleteAndWritableInItsCodePage) {
  const std::map<std::string, unsigned> kLanguages = {
      {"fr", 1252}, {"de", 1252}, {"es", 1252}, {"ja", 932}, {"zh-CN", 936}};
  for (const auto& [language, page] : kLanguages) {
    toml::table file = toml::parse_file(kFolder + language + ".toml");
    EXPECT_EQ(file["code-page"].value_or(0u), page) << language;
    std::map<std::string, std::string> texts = TextsOf(file);
    for (const auto& [key, text] : texts) {
      texts::Id id;
      EXPECT_TRUE(texts::FindKey(key.c_str(), &id)) << language << ": unknown key " << key;
    }
    vpack::CodePage codePage(page);
    for (int i = 0; i < texts::kTextCount; ++i) {
      texts::Id id = static_cast<texts::Id>(i);
      auto found = texts.find(texts::Key(id));
      if (found == texts.end()) {
        ADD_FAILURE() << language << " lacks " << texts::Key(id);
        continue;
      }
      const std::string& text = found->second;
      EXPECT_EQ(vpack::TranslationProblem(id, text), "") << language << " " << texts::Key(id);
      std::string problem;
      vpack::TextInCodePage(codePage, text, problem);
      EXPECT_EQ(problem, "") << language << " " << texts::Key(id);
      EXPECT_EQ(LineBreaks(text), LineBreaks(texts::English(id))) << language << " " << texts::Key(id);
    }
  }
}

TEST(KitTexts, EveryTranslation_FitsItsDialogControls) {
  const std::map<std::string, unsigned> kLanguages = {
      {"fr", 1252}, {"de", 1252}, {"es", 1252}, {"ja", 932}, {"zh-CN", 936}, {"template", 1252}};
  for (const auto& [language, page] : kLanguages) {
    vpack::CodePage codePage(page);
    for (const auto& [key, text] : TextsOf(toml::parse_file(kFolder + language + ".toml"))) {
      texts::Id id;
      if (!texts::FindKey(key.c_str(), &id)) continue;  // the test above names it
      std::string problem;
      std::string bytes = vpack::TextInCodePage(codePage, text, problem);
      EXPECT_EQ(vpack::WidthWarning(codePage, id, bytes), "") << language << " " << key;
    }
  }
}

TEST(KitTexts, Template_EveryKeyWithItsEnglish) {
  std::map<std::string, std::string> texts = TextsOf(toml::parse_file(kFolder + "template.toml"));
  for (int i = 0; i < texts::kTextCount; ++i) {
    texts::Id id = static_cast<texts::Id>(i);
    auto found = texts.find(texts::Key(id));
    EXPECT_TRUE(found != texts.end() && found->second == texts::English(id)) << texts::Key(id);
  }
  // Each key once, found above: nothing else.
  EXPECT_EQ(texts.size(), static_cast<size_t>(texts::kTextCount));
}

}  // namespace
