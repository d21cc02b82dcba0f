// The folder entries' include and exclude patterns. vpack matches them
// itself, so that vpack.exe, which has no fnmatch, matches alike; glibc's
// fnmatch, which vpack used before, is the reference here.
#include <fnmatch.h>
#include <gtest/gtest.h>

#include "vpack/manifest/NamePattern.h"

namespace {

const vpack::CodePage kWestern(1252);

TEST(NamePattern, EveryForm_MatchesAsFnmatchWithCaseFolded) {
  const char* patterns[] = {"*.psd",     "*.PSD", "scene?.vdl", "[a-c]*", "[!a-c]*", "[]x]*",  "[!]x]*",
                            "*[0-9]",    "dir/*", "*/*.bak",    "a*b*c",  "*",       "?",      "\\*.vdl",
                            "[a-",       "a[",    "*x*y*",      "[^a]b",  "[A-Z]1",  "**.vdl", "d*/s*",
                            "Thumbs.db", "",      "*.tar.gz",   "[\\]]x", "é*"};
  const char* subjects[] = {"scene.psd",     "SCENE.PSD", "scene1.vdl", "scene12.vdl", "b.txt", "x1",    "]x",
                            "dir/sub/a.bak", "dir/a",     "abc",        "aXbYc",       "ab",    "*.vdl", "a[",
                            "[a-",           "xay",       "1b",         "ab",          "",      "z1",    "é.vdl",
                            "data.tar.gz",   "d1/s2",     "thumbs.DB",  "]x"};
  for (const char* pattern : patterns) {
    for (const char* subject : subjects) {
      bool expected = fnmatch(pattern, subject, FNM_CASEFOLD) == 0;
      EXPECT_EQ(expected, vpack::MatchesGlob(pattern, subject)) << "\"" << pattern << "\" on " << subject;
    }
  }
}

TEST(NamePattern, PatternWithoutSlash_MatchesTheNameAlone) {
  EXPECT_TRUE(vpack::MatchesPattern("*.bak", "drafts/old/a.bak", kWestern));
  EXPECT_TRUE(vpack::MatchesPattern("drafts/*", "drafts/old/a.bak", kWestern));
  EXPECT_FALSE(vpack::MatchesPattern("old*", "drafts/old/a.bak", kWestern));
  EXPECT_FALSE(vpack::MatchesPattern("drafts/*.psd", "other/drafts/a.psd", kWestern));
}

// Letters of the code page fold as Windows folds them, as in the check for
// two items that are one file; not only ASCII's.
TEST(NamePattern, LettersOfTheCodePage_CaseIgnoredAsWindowsIgnoresIt) {
  struct Case {
    unsigned page;
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {1251, "\u0434\u043e\u043c.vdl", "\u0414\u043e\u043c.vdl", true},  // дом.vdl, Дом.vdl
      {1252, "CAF\u00c9.VDL", "Caf\u00e9.vdl", true},
      {1252, "caf[\u00c9]*", "CAF\u00e9.vdl", true},
      {1252, "caf?.vdl", "caf\u00e9.vdl", true},  // one letter, though two bytes of UTF-8
      {1251, "\u0434*", "\u0436.vdl", false},
      // 表 is 95 5C in 932: its second byte escapes nothing; "?" takes ア (83 41)
      // whole; ア and ヂ (83 61) differ only in a second byte, never folded.
      {932, "\u8868*", "\u8868\u30bd.vdl", true},
      {932, "?.vdl", "\u30a2.vdl", true},
      {932, "\u30a2*", "\u30c2.vdl", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.matches, vpack::MatchesPattern(c.pattern, c.name, vpack::CodePage(c.page))) << c.pattern;
  }
}

}  // namespace
