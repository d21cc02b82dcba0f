// The folder entries' include and exclude patterns. vpack matches them
// itself, so that vpack.exe, which has no fnmatch, matches alike; glibc's
// fnmatch, which vpack used before, is the reference here.
#include <fnmatch.h>
#include <gtest/gtest.h>

#include "vpack/manifest/NamePattern.h"

namespace {

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
  EXPECT_TRUE(vpack::MatchesPattern("*.bak", "drafts/old/a.bak"));
  EXPECT_TRUE(vpack::MatchesPattern("drafts/*", "drafts/old/a.bak"));
  EXPECT_FALSE(vpack::MatchesPattern("old*", "drafts/old/a.bak"));
  EXPECT_FALSE(vpack::MatchesPattern("drafts/*.psd", "other/drafts/a.psd"));
}

}  // namespace
