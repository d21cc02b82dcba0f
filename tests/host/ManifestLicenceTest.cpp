// The licence a publisher has users accept, as vpack packs, lists and
// refuses it: the real program on real manifests, the stored items read
// back as the installer reads them.
#include <gtest/gtest.h>

#include <codecvt>
#include <locale>
#include <string>

#include <nlohmann/json.hpp>

#include "payload/PayloadReader.h"
#include "tests/support/PackProject.h"
#include "tests/support/VpackRun.h"

namespace {

// The item's text in UTF-8, read as the documents say it is stored (UTF-16LE
// ending with its NUL); "(none)" where the installer holds no such
// licence, "(unterminated)" for one without the NUL.
std::string Licence(const std::string& installer, const std::string& tag) {
  payload::PayloadReader reader(installer.c_str());
  reader.LoadDirectory();
  if (!reader.ReadItem(tag.c_str(), nullptr, 0, "LICN")) return "(none)";
  std::u16string units;
  for (uint32_t i = 0; i + 1 < reader.DataSize(); i += 2) {
    units += static_cast<char16_t>(reader.Data()[i] | reader.Data()[i + 1] << 8);
  }
  if (units.empty() || units.back() != u'\0') return "(unterminated)";
  units.pop_back();
  return std::wstring_convert<std::codecvt_utf8_utf16<char16_t>, char16_t>().to_bytes(units);
}

class ManifestLicenceTest : public testing_support::VpackFolderTest {
 protected:
  void SetUp() override { head_ = testing_support::WriteRuntimeProject(dir_, 2); }
  testing_support::VpackOutcome Pack(const std::string& top, const std::string& tables = "") {
    Put("tour.toml", top + head_ + tables);
    return Vpack("pack tour.toml -o setup.exe");
  }
  std::string head_;
};

// Stored as the edit box shows it: no byte-order mark, CRLF line ends.
TEST_F(ManifestLicenceTest, OneFileForEveryLanguage_StoredAsShownListedAndVerified) {
  Put("EULA.txt", "\xEF\xBB\xBFUse it.\nNo resale \xE2\x98\x83.\r\nEnd\n");
  testing_support::VpackOutcome pack = Pack("licence = \"EULA.txt\"\n");
  ASSERT_EQ(0, pack.status) << pack.err;
  std::string installer = dir_.File("setup.exe");
  EXPECT_EQ("Use it.\r\nNo resale \xE2\x98\x83.\r\nEnd\r\n", Licence(installer, "*"));
  EXPECT_NE(std::string::npos, Vpack("list setup.exe").out.find("licence: * (every language without its own), 58 bytes\n"));
  nlohmann::json listed = nlohmann::json::parse(Vpack("list --json setup.exe").out);
  EXPECT_EQ(listed["licences"], nlohmann::json({{"*", {{"bytes", 58}, {"readable", true}}}}));
  EXPECT_EQ(0, Vpack("verify setup.exe").status);
}

// One per language; the default language's serves every other.
TEST_F(ManifestLicenceTest, PerLanguage_TheDefaultsForEveryOther) {
  Put("EULA.txt", "English terms\n");
  Put("LIZENZ.txt", "Deutsche Bedingungen\n");
  testing_support::VpackOutcome pack =
      Pack("texts = [\"de\", \"fr\"]\nlicence = { en = \"EULA.txt\", de = \"LIZENZ.txt\" }\n");
  ASSERT_EQ(0, pack.status) << pack.err;
  std::string installer = dir_.File("setup.exe");
  EXPECT_EQ("English terms\r\n", Licence(installer, "*"));
  EXPECT_EQ("Deutsche Bedingungen\r\n", Licence(installer, "de"));
  EXPECT_EQ("(none)", Licence(installer, "en"));
  EXPECT_EQ("(none)", Licence(installer, "fr"));
}

TEST_F(ManifestLicenceTest, Broken_RefusedNamingTheEntryAndNothingWritten) {
  Put("EULA.txt", "terms\n");
  Put("latin1.txt", "Gesch\xE4" "ftsbedingungen\n");
  Put("blank.txt", " \n\n");
  const struct {
    std::string top, says;
  } cases[] = {
      {"licence = \"missing.txt\"\n", "licence"},
      {"licence = \"latin1.txt\"\n", "\"latin1.txt\" is not UTF-8: save it as UTF-8"},
      {"licence = \"blank.txt\"\n", "\"blank.txt\" is empty"},
      {"licence = 3\n", "licence must be a file's path or a table of languages, not an integer"},
      {"licence = { xx = \"EULA.txt\" }\n", "licence names \"xx\", which is no language vpack knows"},
      {"texts = \"de\"\nlicence = { en = \"EULA.txt\" }\n",
       "licence \"en\": no licence for the default language \"de\""},
      {"licence = { en = \"EULA.txt\", ja = \"EULA.txt\" }\n",
       "licence \"ja\": the installer carries no texts in \"ja\", so no user would be shown it"},
  };
  for (const auto& c : cases) {
    testing_support::VpackOutcome pack = Pack(c.top);
    EXPECT_EQ(1, pack.status) << c.top;
    EXPECT_NE(std::string::npos, pack.err.find(c.says)) << c.top << pack.err;
    EXPECT_FALSE(testing_support::FileExists(dir_.File("setup.exe"))) << c.top;
  }
}

}  // namespace
