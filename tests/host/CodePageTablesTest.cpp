// The code page tables that vpack and vpack.exe convert by, against glibc's
// iconv, which they were made from: every letter each way, in 1258 every
// base letter with every combining mark, and in the double-byte pages every
// lead byte with every second byte.
#include <iconv.h>

#include <gtest/gtest.h>

#include <string>

#include "vpack/base/CodePage.h"

namespace {

// iconv's answer for the whole text, or "refused" when it stops anywhere.
std::string Iconv(const std::string& to, const std::string& from, const std::string& text) {
  iconv_t handle = iconv_open(to.c_str(), from.c_str());
  if (handle == reinterpret_cast<iconv_t>(-1)) return "no converter";
  std::string out(text.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  size_t left = text.size();
  char* to_at = &out[0];
  size_t space = out.size();
  bool whole = iconv(handle, &in, &left, &to_at, &space) != static_cast<size_t>(-1) &&
               iconv(handle, nullptr, nullptr, &to_at, &space) != static_cast<size_t>(-1);
  iconv_close(handle);
  out.resize(out.size() - space);
  return whole ? out : "refused";
}

std::string Utf8Of(unsigned point) {
  if (point < 0x80) return std::string(1, static_cast<char>(point));
  if (point < 0x800) return {static_cast<char>(0xC0 | (point >> 6)), static_cast<char>(0x80 | (point & 0x3F))};
  return {static_cast<char>(0xE0 | (point >> 12)), static_cast<char>(0x80 | ((point >> 6) & 0x3F)),
          static_cast<char>(0x80 | (point & 0x3F))};
}

TEST(CodePageTables, EveryPage_ConvertsAsIconvBothWays) {
  struct Case {
    unsigned page;
    // iconv writes some letters of these pages as a base and a mark; the
    // tables do so in 1258 only, where Windows' users type them so too, and
    // refuse Hebrew presentation forms as Windows does.
    bool splitsLetters;
  } cases[] = {{874, false},  {1250, false}, {1251, false}, {1252, false}, {1253, false},
               {1254, false}, {1255, false}, {1256, false}, {1257, false}, {1258, true}};
  for (const Case& c : cases) {
    vpack::CodePage page(c.page);
    std::string name = "CP" + std::to_string(c.page);
    std::string marks;
    for (unsigned byte = 1; byte < 256; ++byte) {
      std::string one(1, static_cast<char>(byte));
      std::string expected = Iconv("UTF-8", name, one);
      std::string shown = page.ToUtf8(one);
      EXPECT_EQ(expected == "refused" ? "\xEF\xBF\xBD" : expected, shown) << c.page << " byte " << byte;
      if (shown.size() == 2 && static_cast<unsigned char>(shown[0]) == 0xCC) marks += one;  // U+0300..U+033F
    }
    for (unsigned point = 0x80; point < 0x10000; ++point) {
      if (point >= 0xD800 && point <= 0xDFFF) continue;
      std::string problem;
      std::string written = page.FromUtf8(Utf8Of(point), problem);
      std::string expected = Iconv(name, "UTF-8", Utf8Of(point));
      if (expected.size() > 1 && !c.splitsLetters) expected = "refused";
      EXPECT_EQ(expected, problem.empty() ? written : "refused") << c.page << " U+" << std::hex << point;
    }
    for (unsigned base = 1; c.splitsLetters && base < 256; ++base) {
      for (char mark : marks) {
        std::string pair{static_cast<char>(base), mark};
        std::string expected = Iconv("UTF-8", name, pair);
        if (expected != "refused") EXPECT_EQ(expected, page.ToUtf8(pair)) << c.page << " " << base << "+" << +mark;
      }
    }
  }
}

// The lead bytes of each double-byte page as Windows has them: in 932 the two
// ranges of Shift JIS, in the others every byte from 0x81 to 0xFE. They pick
// the pairs compared below; the stub's own rule is checked against Windows'
// answer under Wine (tests/win/LeadByteTest.cpp).
bool WindowsLeadByte(unsigned page, unsigned b) {
  if (page == 932) return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
  return b >= 0x81 && b <= 0xFE;
}

// Letters iconv writes one way only (U+00A5 as 0x5C in 932) are refused:
// they would read back as another letter. Where the page holds a letter
// twice, iconv writes the one Windows writes, and so must the tables.
TEST(CodePageTables, DoubleBytePages_ConvertAsIconvBothWays) {
  for (unsigned number : {932u, 936u, 949u, 950u}) {
    vpack::CodePage page(number);
    std::string name = "CP" + std::to_string(number);
    for (unsigned code = 0x80; code < 0x10000; ++code) {
      unsigned lead = code >> 8, second = code & 0xFF;
      bool pair = lead != 0 && WindowsLeadByte(number, lead) && second >= 0x40;
      if (lead != 0 && (!pair || second == 0xFF)) continue;
      std::string character = pair ? std::string{static_cast<char>(lead), static_cast<char>(second)}
                                   : std::string(1, static_cast<char>(code));
      std::string expected = Iconv("UTF-8", name, character);
      EXPECT_EQ(expected == "refused" ? "\xEF\xBF\xBD" : expected, page.ToUtf8(character))
          << number << " code " << std::hex << code;
    }
    for (unsigned point = 0x80; point < 0x10000; ++point) {
      if (point >= 0xD800 && point <= 0xDFFF) continue;
      std::string problem;
      std::string written = page.FromUtf8(Utf8Of(point), problem);
      std::string expected = Iconv(name, "UTF-8", Utf8Of(point));
      if (expected != "refused" && Iconv("UTF-8", name, expected) != Utf8Of(point)) expected = "refused";
      EXPECT_EQ(expected, problem.empty() ? written : "refused") << number << " U+" << std::hex << point;
    }
  }
}

}  // namespace
