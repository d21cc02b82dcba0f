// The installer's texts in many languages, as vpack packs, lists and
// refuses them: the real program on real manifests, the stored blocks read
// by the format as documented.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "payload/PayloadReader.h"
#include "payload/TextItems.h"
#include "tests/support/KitTexts.h"
#include "tests/support/PackProject.h"
#include "tests/support/StoredLanguage.h"
#include "tests/support/VpackRun.h"

using testing_support::FileExists;
using testing_support::ReadStoredLanguage;
using testing_support::StoredLanguageBlock;

namespace {

int N(texts::Id id) { return static_cast<int>(id); }

class TextsTest : public testing_support::VpackFolderTest {
 protected:
  void SetUp() override { head_ = testing_support::WriteRuntimeProject(dir_, 2); }

  // The project's manifest: top-level keys, then the runtime, then tables.
  void PutManifest(const std::string& top, const std::string& tables) {
    Put("tour.toml", top + head_ + tables);
  }

  // Packs the project with these parts of a manifest; the installer's path.
  std::string Packed(const std::string& top, const std::string& tables) {
    PutManifest(top, tables);
    testing_support::VpackOutcome pack = Vpack("pack tour.toml -o setup.exe");
    EXPECT_EQ(pack.status, 0) << pack.err;
    return dir_.File("setup.exe");
  }

  std::string head_;
};

// Japanese and Chinese in an installer of code page 1252: the words are
// stored in UTF-8 whatever the page, one block per language, and only the
// keys a language gives.
TEST_F(TextsTest, ManyLanguagesOnOnePage_OneBlockEachListedAndVerified) {
  std::string installer = Packed("", "[texts]\nfrom = [\"de\", \"ja\"]\n[texts.zh-CN]\n\"done\" = \"完成 ☃\"\n");
  std::map<std::string, std::string> ja;
  ASSERT_TRUE(testing_support::ReadKitTexts(VDL_SOURCE_DIR "/docs/kit/texts/ja.toml", &ja));

  StoredLanguageBlock japanese = ReadStoredLanguage(installer, "ja");
  ASSERT_TRUE(japanese.whole);
  EXPECT_EQ(japanese.id, 0x0411);
  EXPECT_EQ(japanese.flags, 0);  // English, built in, is the default
  EXPECT_EQ(japanese.texts.size(), ja.size());
  EXPECT_EQ(japanese.texts[N(texts::Id::kButtonInstall)], ja["dialog.install"]);
  EXPECT_EQ(ReadStoredLanguage(installer, "de").id, 0x0407);
  StoredLanguageBlock chinese = ReadStoredLanguage(installer, "zh-CN");
  EXPECT_EQ(chinese.id, 0x0804);
  EXPECT_EQ(chinese.texts, (std::map<int, std::string>{{N(texts::Id::kDone), "完成 ☃"}}));
  EXPECT_FALSE(ReadStoredLanguage(installer, "en").present);
  payload::PayloadReader reader(installer.c_str());
  reader.LoadDirectory();
  EXPECT_FALSE(reader.Contains("41", payload::kTypeText));

  nlohmann::json listed = nlohmann::json::parse(Vpack("list --json setup.exe").out);
  EXPECT_EQ(listed["languages"]["zh-CN"]["texts"], nlohmann::json({{"done", "完成 ☃"}}));
  EXPECT_EQ(listed["languages"]["ja"]["id"], 0x0411);
  EXPECT_EQ(listed["languages"]["de"]["default"], false);
  std::string table = Vpack("list setup.exe").out;
  EXPECT_NE(table.find("language: zh-CN (Chinese (Simplified), 0x0804), 1 text"), std::string::npos) << table;
  EXPECT_NE(table.find("text: zh-CN done = \"完成 ☃\"\n"), std::string::npos) << table;
  testing_support::VpackOutcome verify = Vpack("verify setup.exe");
  EXPECT_EQ(verify.status, 0) << verify.err;
  EXPECT_NE(verify.out.find("setup.exe: languages: de, ja, zh-CN; English where the user's is not carried\n"),
            std::string::npos)
      << verify.out;
}

// The kit's translation is found beside the build's vpack as beside the
// kit's, the manifest's own texts win over it, and a manifest of one
// language makes it everyone's, as before languages were many.
TEST_F(TextsTest, KitTranslationUnderTable_TableWinsTheRestFromTheKit) {
  std::string installer = Packed("", "[texts]\nfrom = \"fr\"\n\"done\" = \"Voilà, c'est installé\"\n");
  StoredLanguageBlock french = ReadStoredLanguage(installer, "fr");
  EXPECT_EQ(french.texts[N(texts::Id::kDone)], "Voilà, c'est installé");
  EXPECT_EQ(french.texts[N(texts::Id::kButtonCancel)], "Annuler");
  EXPECT_EQ(french.texts[N(texts::Id::kCaptionViewer)], "P");
  EXPECT_EQ(french.flags, 1);
  // The log stays English unless the manifest says otherwise.
  payload::PayloadReader english(installer.c_str());
  english.LoadDirectory();
  EXPECT_FALSE(english.Contains(payload::kLogItem, payload::kTypeText));
  installer = Packed("default-language = \"en\"\n", "[texts]\nfrom = \"fr\"\nlog = \"translated\"\n");
  EXPECT_EQ(ReadStoredLanguage(installer, "fr").flags, 0);
  payload::PayloadReader translated(installer.c_str());
  translated.LoadDirectory();
  EXPECT_TRUE(translated.Contains(payload::kLogItem, payload::kTypeText));
  EXPECT_EQ(Vpack("verify setup.exe").status, 0);
}

TEST_F(TextsTest, BrokenTexts_RefusedNamingKeyLanguageAndNothingWritten) {
  struct Case {
    std::string top;
    std::string table;
    std::string at;  // where in the manifest the message points
    std::string says;
  } cases[] = {
      {"", "\"caption.eror\" = \"Erreur\"\n", "\"caption", "texts has unknown key \"caption.eror\""},
      {"", "[texts.de]\n\"dialog.instal\" = \"Installieren\"\n", "\"dialog",
       "texts.de has unknown key \"dialog.instal\""},
      {"", "[texts.de]\n\"error.foreign_code_page\" = \"Seite %1 fehlt\"\n", "\"error",
       "text \"error.foreign_code_page\" (de) lacks the placeholder \"%2\""},
      {"", "\"done\" = \"Fini %1\"\n", "\"done",
       "text \"done\" (en) holds the placeholder \"%1\", which the English lacks"},
      {"", "\"done\" = \"Fini\\u0007\"\n", "\"done", "text \"done\" (en) holds the control character U+0007"},
      {"", "\"done\" = \"\"\n", "\"done", "text \"done\" (en) is empty"},
      {"", "\"done\" = \"" + std::string(payload::kMaxTextBytes + 1, 'x') + "\"\n", "\"done",
       "text \"done\" (en) is 769 bytes in UTF-8; at most 768 fit"},
      {"", "log = \"french\"\n", "\"french", "texts log is \"french\"; it takes \"english\" or \"translated\""},
      {"", "from = \"fr-BE\"\n", "\"fr-BE", "texts names \"fr-BE\", which is no language vpack knows"},
      {"", "from = [\"de\", \"ja\", \"de\"]\n", "\"de\"]", "texts names the language \"de\" twice"},
      {"", "from = [\"de\", \"ja\"]\n\"done\" = \"Fertig\"\n", "\"done",
       "texts names several languages, so \"done\" is of none"},
      {"default-language = \"ja\"\n", "from = \"de\"\n", "",
       "default-language: \"ja\" is not among the languages the installer carries"},
  };
  for (const Case& c : cases) {
    PutManifest(c.top, "[texts]\n" + c.table);
    std::string manifest = c.top + head_ + "[texts]\n" + c.table;
    std::string place = c.at.empty() ? testing_support::PlaceIn("tour.toml", manifest, "\"ja\"")
                                     : testing_support::PlaceIn("tour.toml", manifest, c.at);
    testing_support::VpackOutcome pack = Vpack("pack tour.toml -o setup.exe");
    EXPECT_EQ(pack.status, 1) << c.says;
    EXPECT_NE(pack.err.find("vpack: error: " + place + ": " + c.says), std::string::npos) << pack.err;
    EXPECT_FALSE(FileExists(dir_.File("setup.exe"))) << c.says;
  }
}

}  // namespace
