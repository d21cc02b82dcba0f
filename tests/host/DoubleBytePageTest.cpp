// Installers made for Japanese, Chinese and Korean Windows: names and texts
// in a double-byte code page, where the second byte of a letter may be 0x5C,
// the byte of '\', and may look like an ASCII letter.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "payload/PayloadReader.h"
#include "tests/support/PackProject.h"
#include "tests/support/TempDir.h"
#include "tests/support/VpackRun.h"

using testing_support::FileExists;
using testing_support::ReadFileBytes;

namespace {

using Outcome = testing_support::VpackOutcome;

class DoubleBytePageTest : public testing_support::VpackFolderTest {
 protected:
  // A standalone project in page: its settings, its runtime and one project
  // file of each name given.
  std::string Manifest(unsigned page, const std::string& projectName, const std::string& shortcut,
                       const std::vector<std::string>& names) {
    std::string head = testing_support::WriteRuntimeProject(dir_, 2);
    Replace(head, "ProjectName = 'x'", "ProjectName = '" + projectName + "'");
    Replace(head, "ShortCutName = '\\x'", "ShortCutName = '" + shortcut + "'");
    Put("scene.txt", "scene");
    std::string manifest = "code-page = " + std::to_string(page) + "\n" + head;
    for (const std::string& name : names) {
      manifest += "[[file]]\nname = '" + name + "'\nsource = 'scene.txt'\nlist = 'project'\n";
    }
    return manifest;
  }

  static void Replace(std::string& text, const std::string& what, const std::string& with) {
    size_t at = text.find(what);
    ASSERT_NE(std::string::npos, at) << what;
    text.replace(at, what.size(), with);
  }
};

// Each page's letters whose second byte is 0x5C (949 has none: Hangul), as a
// folder and a file in it, the file's name in the page's own bytes too.
TEST_F(DoubleBytePageTest, EveryPage_PacksListsVerifiesAndExtractsNamesAsWritten) {
  struct Case {
    unsigned page;
    std::string folder, file, fileBytes, lone, projectName, shortcut;
  } cases[] = {
      {932, "\u30bd\u30d5\u30c8\u8868", "\u30bd.vdl", "\x83\x5C\x83\x74\x83\x67\x95\x5C\\\x83\x5C.vdl", "\u8868",
       "\u5341\u80fd", "\\\u30bd\u30d5\u30c8\u8868"},
      {936, "\u4e57\u5ba2", "\u4e57.vdl", "\x81\x5C\xBF\xCD\\\x81\x5C.vdl", "\u4e57", "\u4e2d\u6587", "\\\u4e57\u5ba2"},
      {949, "\ud55c\uad6d\uc5b4", "\ud30c\uc77c.vdl", "\xC7\xD1\xB1\xB9\xBE\xEE\\\xC6\xC4\xC0\xCF.vdl", "\ud55c",
       "\ud55c\uad6d", "\\\ud55c\uad6d\uc5b4"},
      {950, "\u8a31\u529f", "\u84cb.vdl", "\xB3\x5C\xA5\x5C\\\xBB\x5C.vdl", "\u529f", "\u8a31\u529f\u84cb", "\\\u8a31\u529f"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    std::string page = std::to_string(c.page), path = c.folder + "\\" + c.file;
    // 表 alone, or as a folder's last letter, ends in 0x5C and is no separator.
    Put("tour.toml", Manifest(c.page, c.projectName, c.shortcut, {path, c.lone}));
    Outcome pack = Vpack("pack tour.toml -o setup" + page + ".exe");
    ASSERT_EQ(0, pack.status) << pack.err;
    // One note, naming a name and the page, however many names are outside ASCII.
    size_t note = pack.err.find("vpack: note: names and texts outside ASCII, such as \"");
    EXPECT_EQ(note, pack.err.rfind("vpack: note:")) << pack.err;
    EXPECT_NE(std::string::npos, pack.err.find("\", read as written only on Windows set to code page " + page + "\n"))
        << pack.err;
    std::string readerPath = dir_.File("setup" + page + ".exe");
    payload::PayloadReader reader(readerPath.c_str());
    EXPECT_TRUE(reader.ReadItem(c.fileBytes.c_str(), nullptr, 0, "APPDATA"));
    Outcome list = Vpack("list setup" + page + ".exe --json");
    ASSERT_EQ(0, list.status) << list.err;
    nlohmann::json listing = nlohmann::json::parse(list.out);
    EXPECT_EQ(c.page, listing["code-page"]);
    EXPECT_EQ(c.projectName, listing["settings"]["ProjectName"]);
    EXPECT_EQ(c.shortcut, listing["settings"]["ShortCutName"]);
    int named = 0;
    for (const nlohmann::json& item : listing["items"]) named += item["name"] == path || item["name"] == c.lone;
    EXPECT_EQ(2, named) << list.out;
    Outcome verify = Vpack("verify setup" + page + ".exe");
    EXPECT_EQ(0, verify.status) << verify.err;
    EXPECT_NE(std::string::npos, verify.out.find("code page: " + page)) << verify.out;
    Outcome extract = Vpack("extract setup" + page + ".exe -o out" + page);
    ASSERT_EQ(0, extract.status) << extract.err;
    EXPECT_TRUE(FileExists(dir_.File("out" + page + "/" + c.folder + "/" + c.file)));
  }
}

// The installer folds ASCII letters byte by byte, second bytes too: to it ア
// (83 41) and ヂ (83 61) are one name, though Windows keeps two files.
TEST_F(DoubleBytePageTest, NamesOneUnderTheInstallersByteFold_RefusedAsDuplicates) {
  std::string manifest = Manifest(932, "x", "\\x", {"\u30a2.vdl", "\u30c2.vdl"});
  Put("tour.toml", manifest);
  Outcome pack = Vpack("pack tour.toml -o setup.exe");
  EXPECT_EQ(1, pack.status);
  EXPECT_NE(std::string::npos, pack.err.find("file \"\u30c2.vdl\": duplicate item name")) << pack.err;
  std::string first = testing_support::PlaceIn("tour.toml", manifest, "[[file]]\nname = '\u30a2.vdl'");
  EXPECT_NE(std::string::npos, pack.err.find("takes it for " + first + ": file \"\u30a2.vdl\"")) << pack.err;
  EXPECT_FALSE(FileExists(dir_.File("setup.exe")));
}

}  // namespace
