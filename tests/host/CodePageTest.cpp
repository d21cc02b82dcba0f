// Payload text in the Windows single-byte code pages, and back for display.
#include <gtest/gtest.h>

#include "vpack/base/CodePage.h"
#include "vpack/base/Error.h"

namespace {

// Every letter against iconv is CodePageTables', on the host; this file is
// also vpack.exe's, under Wine (tests/vpack-exe), where no iconv is: a letter
// of each page there checks the tables as the Windows compiler built them.
TEST(CodePage, EverySupportedPage_LetterOfItsScriptRoundTrips) {
  struct Case {
    unsigned page;
    const char* utf8;
    const char* ansi;
  } cases[] = {
      {874, "\u0e01", "\xA1"}, {1250, "\u0151", "\xF5"}, {1251, "\u0436", "\xE6"}, {1252, "\u00e9", "\xE9"},
      {1253, "\u03bb", "\xEB"}, {1254, "\u015f", "\xFE"}, {1255, "\u05d0", "\xE0"}, {1256, "\u0639", "\xDA"},
      {1257, "\u0173", "\xF8"}, {1258, "\u0103", "\xE3"},
  };
  for (const Case& c : cases) {
    vpack::CodePage page(c.page);
    std::string problem;
    std::string text = std::string("dir\\") + c.utf8 + ".vdl";
    EXPECT_EQ(std::string("dir\\") + c.ansi + ".vdl", page.FromUtf8(text, problem)) << c.page;
    EXPECT_EQ("", problem) << c.page;
    EXPECT_EQ(text, page.ToUtf8(std::string("dir\\") + c.ansi + ".vdl")) << c.page;
  }
  EXPECT_THROW(vpack::CodePage(65001), vpack::Error);
}

// Windows compares file names with the case of every letter folded.
TEST(CodePage, Folded_LettersOfThePageInUpperCase) {
  struct Case {
    unsigned page;
    const char* name;
    const char* folded;
  } cases[] = {{1252, "caf\xE9-\xFF\xDF.vdl", "CAF\xC9-\x9F\xDF.VDL"},  // \xDF, sharp s, has no single upper case
               {1251, "\xE6.vdl", "\xC6.VDL"},
               {1250, "\xF5\x81", "\xD5\x81"},  // 0x81 is undefined in 1250
               {1253, "\xF2", "\xD3"}};           // final sigma
  for (const Case& c : cases) EXPECT_EQ(c.folded, vpack::CodePage(c.page).Folded(c.name)) << c.page;
}

TEST(CodePage, BrokenOrForeignText_RefusedAndUndefinedBytesShownAsReplacement) {
  vpack::CodePage page(1252);
  std::string problem;
  for (const char* broken : {"a\xC3", "\xC0\xAF", "\xED\xA0\x80", "a\x80"}) {
    page.FromUtf8(broken, problem);
    EXPECT_NE(std::string::npos, problem.find("is not valid UTF-8")) << problem;
  }
  page.FromUtf8("\u20ac\u0416", problem);  // the euro sign is at home in 1252, the Cyrillic letter not
  EXPECT_NE(std::string::npos, problem.find("(U+0416), which code page 1252 cannot hold")) << problem;
  // 0x81 is undefined in 1252: listing must still give valid UTF-8.
  EXPECT_EQ("a\xEF\xBF\xBD" "b", page.ToUtf8("a\x81" "b"));
}

}  // namespace
