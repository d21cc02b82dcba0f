#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "payload/Crc32Table.h"

using payload::Crc32Table;

namespace {

std::vector<uint8_t> RandomBytes(size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> data(count);
  for (uint8_t& b : data) b = static_cast<uint8_t>(random());
  return data;
}

}  // namespace

TEST(Crc32Table, Compute_GivesTheCheckValueOfTheNineDigits) {
  Crc32Table table;
  table.Build();
  EXPECT_EQ(0xCBF43926u, table.Compute("123456789", 9));
  EXPECT_EQ(0u, table.Compute("", 0));
}

// Eight bytes are taken a step: every start offset and every remainder of a
// length must give zlib's value, not only the aligned whole steps.
TEST(Crc32Table, Compute_AgreesWithZlibAtEveryOffsetAndRemainder) {
  Crc32Table table;
  table.Build();
  std::vector<uint8_t> data = RandomBytes(64 + 8, 11);
  for (size_t offset = 0; offset < 8; ++offset) {
    for (size_t length = 0; length <= 64; ++length) {
      EXPECT_EQ(crc32(0, data.data() + offset, static_cast<uInt>(length)),
                table.Compute(data.data() + offset, static_cast<uint32_t>(length)))
          << "offset " << offset << ", length " << length;
    }
  }
}

// A large item is read in pieces, each continuing from the CRC of those
// before it: wherever the pieces are cut, the whole item's CRC comes out.
TEST(Crc32Table, ComputeInPieces_SameAsAtOnce) {
  Crc32Table table;
  table.Build();
  std::vector<uint8_t> data = RandomBytes(1000, 5);
  uint32_t whole = crc32(0, data.data(), static_cast<uInt>(data.size()));
  for (size_t cut : {size_t{0}, size_t{1}, size_t{7}, size_t{8}, size_t{333}, size_t{999}, size_t{1000}}) {
    uint32_t first = table.Compute(data.data(), static_cast<uint32_t>(cut));
    EXPECT_EQ(whole, table.Compute(data.data() + cut, static_cast<uint32_t>(data.size() - cut), first)) << cut;
  }
}
