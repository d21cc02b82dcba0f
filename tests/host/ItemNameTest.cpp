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

TEST(ItemName, WindowsNameFault_SaysWhichRuleAndWhere) {
  using payload::NameFault;
  struct Case {
    const char* name;
    NameFault fault;
    size_t at;
  } cases[] = {
      {"", NameFault::kEmpty, 0},
      {"a\\..\\b", NameFault::kParentFolder, 2},
      {"C:\\x", NameFault::kDriveOrStream, 1},
      {"a\\b<c", NameFault::kForbiddenCharacter, 3},
      {"x\\Com3.txt\\y", NameFault::kDeviceName, 2},
      {"dir.\\y", NameFault::kTrailingDotOrSpace, 0},
      {"a\\\\b", NameFault::kEmptyComponent, 2},
      {"\\scenes\\hall.vdl", NameFault::kNone, 0},
  };
  for (const Case& c : cases) {
    size_t at = 0;
    EXPECT_EQ(c.fault, payload::WindowsNameFault(c.name, &at)) << c.name;
    if (c.fault != NameFault::kNone) EXPECT_EQ(c.at, at) << c.name;
    // The installer's own rule never lets through what this one names as leaving the folder.
    bool leaves = c.fault == NameFault::kParentFolder || c.fault == NameFault::kDriveOrStream;
    EXPECT_EQ(leaves, !payload::IsSafeItemName(c.name)) << c.name;
  }
}

}  // namespace
