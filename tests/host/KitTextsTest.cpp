// The kit's translation files against the table of texts: a translation
// that lost a key, a placeholder or a line break, or holds a letter its code
// language's page lacks, would ship an installer that speaks English or garbles a
// message, or a dialog word too long for its control shows cut short; a
// template behind the table would leave translators a text short.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <toml++/toml.h>

#include "payload/Languages.h"
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

// The kit's languages as Windows numbers them and as its ANSI page of that
// language writes them, from Windows' own tables: the page is the one whose
// dialog font measures the words, and whose letters a translation keeps to.
struct KitLanguage {
  const char* tag;
  uint16_t id;
  unsigned page;
};
const KitLanguage kKit[] = {
    {"de", 0x0407, 1252}, {"fr", 0x040C, 1252}, {"es", 0x0C0A, 1252}, {"it", 0x0410, 1252},
    {"nl", 0x0413, 1252}, {"sv", 0x041D, 1252}, {"da", 0x0406, 1252}, {"nb", 0x0414, 1252},
    {"fi", 0x040B, 1252}, {"pt-BR", 0x0416, 1252}, {"pl", 0x0415, 1250}, {"cs", 0x0405, 1250},
    {"hu", 0x040E, 1250}, {"ru", 0x0419, 1251}, {"uk", 0x0422, 1251}, {"el", 0x0408, 1253},
    {"tr", 0x041F, 1254}, {"ja", 0x0411, 932},  {"zh-CN", 0x0804, 936}, {"ko", 0x0412, 949},
    {"zh-TW", 0x0404, 950},
};

std::set<std::string> KitFiles() {
  std::set<std::string> tags;
  for (const auto& file : std::filesystem::directory_iterator(kFolder)) {
    if (file.path().extension() == ".toml" && file.path().stem() != "template") tags.insert(file.path().stem());
  }
  return tags;
}

// Every file is a language of the list, every language of the list has its
// file, and vpack numbers each as Windows does.
TEST(KitTexts, EveryFile_ALanguageWindowsNumbersAsVpackDoes) {
  std::set<std::string> listed;
  for (const KitLanguage& language : kKit) {
    listed.insert(language.tag);
    const payload::Language* known = payload::FindLanguage(language.tag);
    ASSERT_NE(known, nullptr) << language.tag;
    EXPECT_EQ(known->id, language.id) << language.tag;
    EXPECT_EQ(known->codePage, language.page) << language.tag;
  }
  EXPECT_EQ(KitFiles(), listed);
}

TEST(KitTexts, EveryTranslation_CompleteAndWritableInItsCodePage) {
  for (const KitLanguage& language : kKit) {
    toml::table file = toml::parse_file(kFolder + language.tag + ".toml");
    std::map<std::string, std::string> texts = TextsOf(file);
    for (const auto& [key, text] : texts) {
      texts::Id id;
      EXPECT_TRUE(texts::FindKey(key.c_str(), &id)) << language.tag << ": unknown key " << key;
    }
    vpack::CodePage codePage(language.page);
    for (int i = 0; i < texts::kTextCount; ++i) {
      texts::Id id = static_cast<texts::Id>(i);
      auto found = texts.find(texts::Key(id));
      if (found == texts.end()) {
        ADD_FAILURE() << language.tag << " lacks " << texts::Key(id);
        continue;
      }
      const std::string& text = found->second;
      EXPECT_EQ(vpack::TranslationProblem(id, text), "") << language.tag << " " << texts::Key(id);
      std::string problem;
      vpack::TextInCodePage(codePage, text, problem);
      EXPECT_EQ(problem, "") << language.tag << " " << texts::Key(id);
      EXPECT_EQ(LineBreaks(text), LineBreaks(texts::English(id))) << language.tag << " " << texts::Key(id);
    }
  }
}

TEST(KitTexts, EveryTranslation_FitsItsDialogControls) {
  std::vector<KitLanguage> languages(std::begin(kKit), std::end(kKit));
  languages.push_back({"template", 0x0409, 1252});
  for (const KitLanguage& language : languages) {
    vpack::CodePage codePage(language.page);
    for (const auto& [key, text] : TextsOf(toml::parse_file(kFolder + language.tag + ".toml"))) {
      texts::Id id;
      if (!texts::FindKey(key.c_str(), &id)) continue;  // the test above names it
      std::string problem;
      std::string bytes = vpack::TextInCodePage(codePage, text, problem);
      EXPECT_EQ(vpack::WidthWarning(codePage, id, bytes), "") << language.tag << " " << key;
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
