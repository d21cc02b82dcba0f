// Payload text in the Windows single-byte code pages, and back for display.
#include <gtest/gtest.h>

#include "vpack/base/CodePage.h"
#include "vpack/base/Error.h"

namespace {

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

// Every letter of every page each way is CodePageTables' (against iconv);
// here what no page can hold.
TEST(CodePage, BrokenOrForeignText_RefusedAndUndefinedBytesShownAsReplacement) {
  EXPECT_THROW(vpack::CodePage(65001), vpack::Error);
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
