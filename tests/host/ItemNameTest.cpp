// The names an installer can write on Windows, and those it must not.
#include <gtest/gtest.h>

#include "payload/ItemName.h"

namespace {

TEST(ItemName, WindowsFileName_RefusesWhatWindowsCannotCreate) {
  for (const char* good : {"a.vdl", "scenes\\hall.vdl", "scenes/hall.vdl", "\\channels\\x.dll", "icon.d\\x",
                           "com0.dll", "console.vdl", "a b.vdl", ".hidden"}) {
    EXPECT_TRUE(payload::IsWindowsFileName(good)) << good;
  }
  for (const char* bad : {"", "a<b", "a>b", "a\"b", "a|b", "a?b", "a*b", "a\tb", "a:b", "CON", "nul.txt",
                          "scenes\\Aux", "lpt9.log", "com1.dll", "name.", "name ", "a\\\\b", "a\\.\\b", "scenes\\"}) {
    EXPECT_FALSE(payload::IsWindowsFileName(bad)) << bad;
  }
}

}  // namespace
