// The installer's texts in the publisher's language, as vpack packs, lists
// and refuses them: the real program on real manifests.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "payload/PayloadReader.h"
#include "payload/TextItems.h"
#include "tests/support/PackProject.h"
#include "tests/support/VpackRun.h"

using testing_support::FileExists;
using testing_support::ReadFileBytes;

namespace {

// The item's bytes as the installer reads them; "(none)" when it holds no
// such item, "(damaged)" when its checksum is wrong.
std::string TextItem(const std::string& installer, texts::Id id) {
  char name[4];
  payload::TextItemName(id, name);
  payload::PayloadReader reader(installer.c_str());
  reader.LoadDirectory();
  if (!reader.Contains(name, payload::kTypeText)) return "(none)";
  if (!reader.ReadItem(name, nullptr, 0, payload::kTypeText)) return "(damaged)";
  return std::string(reinterpret_cast<const char*>(reader.Data()), reader.DataSize());
}

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

TEST_F(TextsTest, TableInDoubleBytePage_ItemsInItListedAndVerified) {
  std::string installer =
      Packed("code-page = 932\n", "[texts]\n\"done\" = \"完了\"\n\"dialog.install\" = \"インストール\"\n");
  EXPECT_EQ(TextItem(installer, texts::Id::kDone), "\x8A\xAE\x97\xB9");
  EXPECT_EQ(TextItem(installer, texts::Id::kButtonInstall), "\x83" "C\x83\x93\x83X\x83g\x81[\x83\x8B");
  // A key not given keeps its English: no item for it.
  EXPECT_EQ(TextItem(installer, texts::Id::kCaptionError), "(none)");

  nlohmann::json listed = nlohmann::json::parse(Vpack("list --json setup.exe").out);
  EXPECT_EQ(listed["texts"], nlohmann::json({{"dialog.install", "インストール"}, {"done", "完了"}}));
  EXPECT_NE(Vpack("list setup.exe").out.find("text: done = \"完了\"\n"), std::string::npos);
  testing_support::VpackOutcome verify = Vpack("verify setup.exe");
  EXPECT_EQ(verify.status, 0) << verify.err;
}

// The kit's translation is found beside the build's vpack as beside the
// kit's, and the manifest's own texts win over it.
TEST_F(TextsTest, KitTranslationUnderTable_TableWinsTheRestFromTheKit) {
  std::string installer = Packed("", "[texts]\nfrom = \"fr\"\n\"done\" = \"Voilà, c'est installé\"\n");
  EXPECT_EQ(TextItem(installer, texts::Id::kDone), "Voil\xE0, c'est install\xE9");
  EXPECT_EQ(TextItem(installer, texts::Id::kButtonCancel), "Annuler");
  EXPECT_EQ(TextItem(installer, texts::Id::kCaptionViewer), "P");
  // The log stays English unless the manifest says otherwise.
  payload::PayloadReader english(installer.c_str());
  english.LoadDirectory();
  EXPECT_FALSE(english.Contains(payload::kLogItem, payload::kTypeText));
  installer = Packed("", "[texts]\nfrom = \"fr\"\nlog = \"translated\"\n");
  payload::PayloadReader translated(installer.c_str());
  translated.LoadDirectory();
  EXPECT_TRUE(translated.Contains(payload::kLogItem, payload::kTypeText));
  EXPECT_EQ(Vpack("verify setup.exe").status, 0);
}

TEST_F(TextsTest, BrokenTexts_RefusedNamingKeyAndNothingWritten) {
  struct Case {
    std::string table;
    std::string at;  // where in the table the message points
    std::string says;
  } cases[] = {
      {"\"caption.eror\" = \"Erreur\"\n", "\"caption", "texts has unknown key \"caption.eror\""},
      {"\"done\" = \"Fertig ☃\"\n", "\"done",
       "text \"done\" holds \"☃\" (U+2603), which code page 1252 cannot hold"},
      {"\"error.foreign_code_page\" = \"Seite %1 fehlt\"\n", "\"error",
       "text \"error.foreign_code_page\" lacks the placeholder \"%2\""},
      {"\"done\" = \"Fini %1\"\n", "\"done", "text \"done\" holds the placeholder \"%1\", which the English lacks"},
      {"\"done\" = \"Fini\\u0007\"\n", "\"done", "text \"done\" holds the control character U+0007"},
      {"\"done\" = \"\"\n", "\"done", "text \"done\" is empty"},
      {"\"done\" = \"" + std::string(payload::kMaxTextBytes + 1, 'x') + "\"\n", "\"done",
       "text \"done\" is 769 bytes in code page 1252; at most 768 fit"},
      {"log = \"french\"\n", "\"french", "texts log is \"french\"; it takes \"english\" or \"translated\""},
      {"from = \"it\"\n", "\"it",
       "texts \"it\": the kit has no translation of that name; it has de, es, fr, ja, zh-CN"},
      {"from = \"ja\"\n", "\"ja",
       "texts \"ja\": is written for code-page = 932, and the manifest's code-page is 1252"},
  };
  for (const Case& c : cases) {
    PutManifest("", "[texts]\n" + c.table);
    std::string place = testing_support::PlaceIn("tour.toml", head_ + "[texts]\n" + c.table, c.at);
    testing_support::VpackOutcome pack = Vpack("pack tour.toml -o setup.exe");
    EXPECT_EQ(pack.status, 1) << c.says;
    EXPECT_NE(pack.err.find("vpack: error: " + place + ": " + c.says), std::string::npos) << pack.err;
    EXPECT_FALSE(FileExists(dir_.File("setup.exe"))) << c.says;
  }
}

}  // namespace
