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

// In a double-byte page a second byte may be 0x5C or '|': part of a letter,
// neither a separator nor a forbidden character. Read a byte at a time (code
// page 0, as the stub's own call reads), the same names break the rules.
TEST(ItemName, SecondByteOfADoubleByteLetter_NeverASeparatorOrForbidden) {
  using payload::NameFault;
  struct Case {
    const char* name;
    NameFault byteWise;
    NameFault in932;
  } cases[] = {
      {"\x95\x5C", NameFault::kEmptyComponent, NameFault::kNone},  // 表
      {"\x83\x5C\x83\x74\x83\x67\x95\x5C\\\x83\x5C.vdl", NameFault::kEmptyComponent,
       NameFault::kNone},                                               // ソフト表\ソ.vdl
      {"\x83\x7C.vdl", NameFault::kForbiddenCharacter, NameFault::kNone},  // ポ.vdl
      // ソ..\a.vdl: no ".." component, but a trailing dot, in 932.
      {"\x83\x5C..\\a.vdl", NameFault::kParentFolder, NameFault::kTrailingDotOrSpace},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.byteWise, payload::WindowsNameFault(c.name)) << c.name;
    EXPECT_EQ(c.in932, payload::WindowsNameFault(c.name, nullptr, 932)) << c.name;
    EXPECT_EQ(c.byteWise != NameFault::kParentFolder, payload::IsSafeItemName(c.name)) << c.name;
    EXPECT_TRUE(payload::IsSafeItemName(c.name, 932)) << c.name;
  }
}

}  // namespace
