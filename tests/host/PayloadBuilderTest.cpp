#include <gtest/gtest.h>

#include "packager/EngineFormat.h"
#include "packager/PayloadBuilder.h"

using packager::Bytes;
using packager::PayloadBuilder;

TEST(PayloadBuilder, SingleProjectType_GivesTheDocumentedBytes) {
  PayloadBuilder payload;
  payload.AddU32("ProjectType", 2);
  const uint32_t stubSize = 0x00012345;
  Bytes expected;
  const char marker[] = "5B1E07C2-94AD-4F63-A2D8-31C7E9F04B6A";
  expected.insert(expected.end(), marker, marker + 36);
  const uint8_t rest[] = {
      0x01, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 'A',  'P',  'P',  'D',  'A',  'T',  'A',  0x00,
      0x0C, 0x00, 0x00, 0x00, 'P',  'r',  'o',  'j',  'e',  'c',  't',  'T',  'y',  'p',  'e',  0x00,
      0x04, 0x00, 0x00, 0x00, 0x97, 0x17, 0x4D, 0x8B, 0x50, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,
      0x45, 0x23, 0x01, 0x00};
  expected.insert(expected.end(), rest, rest + sizeof(rest));
  EXPECT_EQ(expected, payload.Build(stubSize));
  EXPECT_EQ(88u, expected.size());
}

TEST(PayloadBuilder, AddText_FillsTheFieldAndRefusesLongTexts) {
  PayloadBuilder payload;
  ASSERT_TRUE(payload.AddText("ProjectName", "Tour"));
  const Bytes& field = payload.Items().back().data;
  ASSERT_EQ(259u, field.size());
  EXPECT_EQ('T', field[0]);
  EXPECT_EQ(0, field[4]);
  EXPECT_EQ(0, field[258]);
  EXPECT_TRUE(payload.AddText("InstallPath", std::string(258, 'x')));
  EXPECT_FALSE(payload.AddText("InstallPath", std::string(259, 'x')));
  EXPECT_EQ(2u, payload.Items().size());
}

TEST(PayloadBuilder, AddList_WritesCountAndTerminatedNames) {
  PayloadBuilder payload;
  payload.AddList(packager::ListKind::kProjectFiles, {"a.vdl", "sub\\b.cgr"});
  const auto& items = payload.Items();
  ASSERT_EQ(3u, items.size());
  EXPECT_EQ("FILEINFO", items[0].type);
  EXPECT_EQ("FileCount", items[0].name);
  EXPECT_EQ((Bytes{2, 0, 0, 0}), items[0].data);
  EXPECT_EQ("ItemNameID1", items[2].name);
  EXPECT_EQ(Bytes({'s', 'u', 'b', '\\', 'b', '.', 'c', 'g', 'r', 0}), items[2].data);
}

TEST(PayloadBuilder, PackedItems_InflateToTheirStatedSize) {
  Bytes original(100000);
  for (size_t i = 0; i < original.size(); ++i) original[i] = static_cast<uint8_t>(i * 7 / 13);
  Bytes packed = packager::ZlibPack(original);
  EXPECT_LT(packed.size(), original.size());
  EXPECT_EQ(0x00u, packed[packed.size() - 1]);
  EXPECT_EQ(0x01u, packed[packed.size() - 2]);  // 100000 = 0x000186A0
  Bytes unpacked;
  ASSERT_TRUE(packager::ZlibUnpack(packed, &unpacked));
  EXPECT_EQ(original, unpacked);
  packed.pop_back();
  EXPECT_FALSE(packager::ZlibUnpack(packed, &unpacked));
}

TEST(EngineFormat, EncodedFiles_CarryTheTagAndDecodeBack) {
  Bytes plain = {'h', 'e', 'l', 'l', 'o', 0, 1, 2};
  Bytes encoded = packager::EngineEncode(plain);
  ASSERT_GE(encoded.size(), 8u);
  EXPECT_EQ(Bytes({'M', 'R', 'V', 'F', 8, 0, 0, 0}), Bytes(encoded.begin(), encoded.begin() + 8));
  Bytes decoded;
  ASSERT_TRUE(packager::EngineDecode(encoded.data(), encoded.size(), &decoded));
  EXPECT_EQ(plain, decoded);
  encoded[0] = 'X';
  EXPECT_FALSE(packager::EngineDecode(encoded.data(), encoded.size(), &decoded));
}
