// The double-byte pages' lead bytes as the stub steps by them, against the
// system's own answer for each page (IsDBCSLeadByteEx), whatever page this
// system has: a byte taken for a letter of its own splits a name's
// character, and its second byte may then read as a '\'.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/DoubleByte.h"

namespace {

TEST(LeadByte, EveryByteOfEachDoubleBytePage_AsTheSystemHasIt) {
  for (unsigned page : {932u, 936u, 949u, 950u}) {
    for (unsigned b = 0; b < 0x100; ++b) {
      bool system = IsDBCSLeadByteEx(page, static_cast<BYTE>(b)) != FALSE;
      EXPECT_EQ(system, text::IsLeadByte(page, static_cast<unsigned char>(b))) << page << " byte " << std::hex << b;
    }
    EXPECT_TRUE(text::IsDoubleBytePage(page)) << page;
  }
  for (unsigned page : {874u, 1250u, 1252u, 1258u}) {
    EXPECT_FALSE(text::IsDoubleBytePage(page)) << page;
    for (unsigned b = 0; b < 0x100; ++b) EXPECT_FALSE(text::IsLeadByte(page, static_cast<unsigned char>(b))) << page;
  }
}

}  // namespace
