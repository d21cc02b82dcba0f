#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "payload/Crc32Table.h"

using payload::Crc32Table;

TEST(Crc32Table, Build_GivesTheReflectedTable) {
  Crc32Table table;
  table.Build();
  EXPECT_EQ(0u, table.At(0));
  EXPECT_EQ(0x77073096u, table.At(1));
  EXPECT_EQ(0xEDB88320u, table.At(128));
  EXPECT_EQ(0x2D02EF8Du, table.At(255));
  EXPECT_EQ(0u, table.Compute("", 0));
}

TEST(Crc32Table, Reflect_ReversesTheLowBits) {
  Crc32Table table;
  EXPECT_EQ(0x80u, table.Reflect(0x01, 8));
  EXPECT_EQ(0x01u, table.Reflect(0x80, 8));
  EXPECT_EQ(0x6u, table.Reflect(0xF3, 3));  // bits 011 -> 110, the rest dropped
  EXPECT_EQ(0x80000000u, table.Reflect(1, 32));
  EXPECT_EQ(0xEDB88320u, table.Reflect(0x04C11DB7u, 32));
}

TEST(Crc32Table, Compute_GivesTheCheckValueOfTheNineDigits) {
  Crc32Table table;
  table.Build();
  EXPECT_EQ(0xCBF43926u, table.Compute("123456789", 9));
}

// Eight bytes are taken a step: every start offset and every remainder of a
// length must give zlib's value, not only the aligned whole steps.
TEST(Crc32Table, Compute_AgreesWithZlibAtEveryOffsetAndRemainder) {
  Crc32Table table;
  table.Build();
  std::mt19937 random(11);
  std::vector<uint8_t> data(64 + 8);
  for (uint8_t& b : data) b = static_cast<uint8_t>(random());
  for (size_t offset = 0; offset < 8; ++offset) {
    for (size_t length = 0; length <= 64; ++length) {
      EXPECT_EQ(crc32(0, data.data() + offset, static_cast<uInt>(length)),
                table.Compute(data.data() + offset, static_cast<uint32_t>(length)))
          << "offset " << offset << ", length " << length;
    }
  }
}
