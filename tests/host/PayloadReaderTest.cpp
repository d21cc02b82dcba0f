#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "packager/PayloadBuilder.h"
#include "payload/PayloadReader.h"
#include "tests/support/Payloads.h"
#include "tests/support/TempDir.h"

using packager::Bytes;
using packager::PayloadBuilder;

namespace {

class PayloadReaderTest : public ::testing::Test {
 protected:
  // A stub of stubSize zero bytes with the payload behind it.
  static Bytes Image(uint32_t stubSize, const PayloadBuilder& payload) {
    return testing_support::B(testing_support::InstallerImage(std::string(stubSize, '\0'), payload));
  }

  static PayloadBuilder ProjectType(uint32_t value) {
    PayloadBuilder payload;
    payload.AddU32("ProjectType", value);
    return payload;
  }

  static void SetU32(Bytes& image, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) image[at + i] = static_cast<uint8_t>(value >> (8 * i));
  }

  const char* Write(const Bytes& image) {
    path_ = dir_.File("setup.exe");
    testing_support::WriteFileBytes(path_, image.data(), image.size());
    return path_.c_str();
  }

  static uint32_t ReadU32(payload::PayloadReader& reader, const char* name, const char* type = nullptr) {
    uint8_t b[4] = {};
    EXPECT_TRUE(reader.ReadItem(name, b, 4, type)) << name;
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
  }

  testing_support::TempDir dir_;
  std::string path_;
};

}  // namespace

TEST_F(PayloadReaderTest, UpperCaseNamesAndTypes_MatchMixedCaseRequests) {
  PayloadBuilder payload;
  payload.AddU32("PROJECTTYPE", 2, "APPDATA");
  payload.AddU32("CHANNELCOUNT", 5, "CHANNELINFO");
  payload.Items()[0].type = "appData";
  payload::PayloadReader reader(Write(Image(1000, payload)));
  EXPECT_EQ(2u, ReadU32(reader, "ProjectType"));
  EXPECT_EQ(5u, ReadU32(reader, "ChannelCount", "ChannelInfo"));
}

TEST_F(PayloadReaderTest, LowerCaseMarker_IsAcceptedAtTheTrailerOnly) {
  Bytes image = Image(500, ProjectType(1));
  for (size_t i = 500; i < 536; ++i) image[i] = static_cast<uint8_t>(tolower(image[i]));
  {
    payload::PayloadReader reader(Write(image));
    EXPECT_EQ(1u, ReadU32(reader, "ProjectType"));
    EXPECT_EQ(500, reader.MarkerOffset());
  }
  // Without the trailer the scan compares exactly, letter case included.
  SetU32(image, image.size() - 4, 12);
  payload::PayloadReader reader(Write(image));
  EXPECT_EQ(0, reader.EntryCount());
  EXPECT_EQ(payload::DirectoryStatus::kNoMarker, reader.Status());
}

TEST_F(PayloadReaderTest, WrongTrailer_ScanFindsMarkerInLaterBlock) {
  Bytes image = Image(110592, ProjectType(6));
  SetU32(image, image.size() - 4, 77);
  payload::PayloadReader reader(Write(image));
  EXPECT_EQ(110592, reader.MarkerOffset());
  EXPECT_EQ(6u, ReadU32(reader, "ProjectType"));
}

TEST_F(PayloadReaderTest, WrongTrailer_ScanReachesOnlyBlockOffset9962) {
  for (uint32_t start : {9962u, 9999u * 19 + 9962}) {
    Bytes image = Image(start, ProjectType(2));
    SetU32(image, image.size() - 4, 0xFFFFFFF0u);
    payload::PayloadReader reader(Write(image));
    EXPECT_EQ(start, reader.MarkerOffset());
    EXPECT_EQ(payload::DirectoryStatus::kLoaded, reader.Status());
  }
  for (uint32_t start : {9963u, 9999u * 3 + 9990, 9999u * 20}) {
    Bytes image = Image(start, ProjectType(2));
    SetU32(image, image.size() - 4, 3);
    payload::PayloadReader reader(Write(image));
    EXPECT_EQ(0, reader.EntryCount()) << start;
    EXPECT_EQ(payload::DirectoryStatus::kNoMarker, reader.Status()) << start;
  }
}

TEST_F(PayloadReaderTest, SameNameUnderTwoTypes_AreDistinctAndBothCountTowardsOffsets) {
  PayloadBuilder payload;
  payload.AddU32("ProjectType", 7, "FILEINFO");
  payload.AddU32("ProjectType", 2);
  payload.AddU32("ProjectType", 9);  // a later duplicate never wins
  payload::PayloadReader reader(Write(Image(64, payload)));
  EXPECT_EQ(2u, ReadU32(reader, "ProjectType"));
  EXPECT_EQ(7u, ReadU32(reader, "projecttype", "FileInfo"));
}

TEST_F(PayloadReaderTest, CountLargerThanItem_ReadsOnAndChecksOnlyTheItem) {
  PayloadBuilder payload;
  payload.AddRaw("Name", Bytes{'a', 'b', 0});
  payload.AddRaw("Next", Bytes{'X', 'Y'});
  payload::PayloadReader reader(Write(Image(64, payload)));
  char buffer[8];
  memset(buffer, '?', sizeof(buffer));
  ASSERT_TRUE(reader.ReadItem("Name", buffer, 6, nullptr));
  EXPECT_EQ(0, memcmp("ab\0XY", buffer, 5));
  // The trailer follows the data; beyond it there is nothing to read.
  memset(buffer, '?', sizeof(buffer));
  ASSERT_TRUE(reader.ReadItem("Next", buffer, 8, nullptr));
  EXPECT_EQ('X', buffer[0]);
  EXPECT_EQ(64, buffer[2]);
  EXPECT_EQ('?', buffer[6]);
}

TEST_F(PayloadReaderTest, CountSmallerThanItem_IsRefusedWithoutCrcError) {
  PayloadBuilder payload;
  ASSERT_TRUE(payload.AddText("ProjectName", "Tour"));
  payload::PayloadReader reader(Write(Image(64, payload)));
  char buffer[259];
  EXPECT_FALSE(reader.ReadItem("ProjectName", buffer, 4, nullptr));
  EXPECT_EQ(nullptr, reader.CrcMismatch());
  EXPECT_FALSE(reader.ReadItem("ProjectName", buffer, -1, nullptr));
  EXPECT_EQ(nullptr, reader.CrcMismatch());
  EXPECT_TRUE(reader.ReadItem("ProjectName", buffer, 259, nullptr));
}

TEST_F(PayloadReaderTest, ZeroSizeItem_HasCrcZeroAndTakesNoData) {
  PayloadBuilder payload;
  payload.AddRaw("Empty", Bytes{});
  payload.AddU32("ProjectType", 5);
  payload::PayloadReader reader(Write(Image(64, payload)));
  ASSERT_EQ(2, reader.EntryCount());
  EXPECT_EQ(0u, reader.Entry(0)->crc);
  EXPECT_EQ(0u, reader.Entry(1)->offset);
  EXPECT_EQ(5u, ReadU32(reader, "ProjectType"));
  ASSERT_TRUE(reader.ReadItem("Empty", nullptr, 0, nullptr));
  EXPECT_EQ(0u, reader.DataSize());
}

TEST_F(PayloadReaderTest, CrcMismatch_NamesTheItemAsStored) {
  Bytes image = Image(64, [] {
    PayloadBuilder payload;
    payload.AddU32("PROJECTtype", 2);
    return payload;
  }());
  image[image.size() - 8] ^= 0x40;
  payload::PayloadReader reader(Write(image));
  uint8_t value[4];
  EXPECT_FALSE(reader.ReadItem("ProjectType", value, 4, nullptr));
  ASSERT_NE(nullptr, reader.CrcMismatch());
  EXPECT_STREQ("PROJECTtype", reader.CrcMismatch()->name);
  // Whole-item reads are checked the same way, and so are pieces.
  EXPECT_FALSE(reader.ReadItem("ProjectType", nullptr, 0, nullptr));
  ASSERT_NE(nullptr, reader.CrcMismatch());
  EXPECT_STREQ("PROJECTtype", reader.CrcMismatch()->name);
  uint32_t size = 0;
  uint8_t tail[4];
  ASSERT_TRUE(reader.BeginPieces("ProjectType", &size, tail));
  EXPECT_EQ(nullptr, reader.CrcMismatch());
  const uint8_t* bytes = nullptr;
  size_t count = 0;
  while (reader.Next(&bytes, &count)) {
  }
  EXPECT_FALSE(reader.EndPieces());
  ASSERT_NE(nullptr, reader.CrcMismatch());
  EXPECT_STREQ("PROJECTtype", reader.CrcMismatch()->name);
}

TEST_F(PayloadReaderTest, ManyItems_EachFoundFirstMatchWinsAnyCase) {
  PayloadBuilder payload;
  for (int i = 0; i < 3000; ++i) {
    payload.Add(i % 3 == 0 ? "FILEINFO" : "APPDATA", "Item" + std::to_string(i * 7919 % 3000), Bytes{uint8_t(i)});
  }
  // Repeated under the same name and type in other cases: the first wins.
  payload.Add("appdata", "ITEM1", Bytes{0xEE});
  payload.Add("APPDATA", "~last", Bytes{0xDD});
  payload::PayloadReader reader(Write(Image(64, payload)));
  for (int i = 0; i < 3000; ++i) {
    std::string name = "iTEm" + std::to_string(i * 7919 % 3000);
    const char* type = i % 3 == 0 ? "fileinfo" : "AppData";
    ASSERT_TRUE(reader.ReadItem(name.c_str(), nullptr, 0, type)) << name;
    ASSERT_EQ(uint8_t(i), reader.Data()[0]) << name;
    EXPECT_FALSE(reader.Contains(name.c_str(), i % 3 == 0 ? "APPDATA" : "FILEINFO")) << name;
  }
  ASSERT_TRUE(reader.ReadItem("~LAST", nullptr, 0, nullptr));
  EXPECT_EQ(0xDD, reader.Data()[0]);
  EXPECT_FALSE(reader.Contains("Item3000", nullptr));
  EXPECT_FALSE(reader.Contains("Item", nullptr));
  EXPECT_FALSE(reader.Contains("", nullptr));
}

TEST_F(PayloadReaderTest, Contains_FindsWithoutReading) {
  PayloadBuilder payload;
  payload.AddRaw("a.bin", Bytes{1});
  payload.Add("FILEINFO", "FileCount", Bytes{0, 0, 0, 0});
  payload::PayloadReader reader(Write(Image(64, payload)));
  EXPECT_TRUE(reader.Contains("A.BIN", nullptr));
  EXPECT_TRUE(reader.Contains("filecount", "fileinfo"));
  EXPECT_FALSE(reader.Contains("FileCount", nullptr));
  EXPECT_FALSE(reader.Contains(nullptr, nullptr));
  EXPECT_EQ(0u, reader.DataSize());
}

TEST_F(PayloadReaderTest, WholeItemReads_ReplaceTheBlock) {
  PayloadBuilder payload;
  payload.AddRaw("a.bin", Bytes{1, 2, 3});
  payload.AddRaw("b.bin", Bytes{9});
  payload::PayloadReader reader(Write(Image(64, payload)));
  ASSERT_TRUE(reader.ReadItem("a.bin", nullptr, 0, nullptr));
  EXPECT_EQ(3u, reader.DataSize());
  EXPECT_EQ(3, reader.Data()[2]);
  ASSERT_TRUE(reader.ReadItem("B.BIN", nullptr, 0, nullptr));
  EXPECT_EQ(1u, reader.DataSize());
  EXPECT_EQ(9, reader.Data()[0]);
  // A miss keeps the block of the last read.
  EXPECT_FALSE(reader.ReadItem("c.bin", nullptr, 0, nullptr));
  EXPECT_EQ(9, reader.Data()[0]);
  EXPECT_FALSE(reader.ReadItem(nullptr, nullptr, 0, nullptr));
}

// Offsets from the marker in the one-item payload of ProjectType.
enum : size_t { kCount = 36, kTypeLength = 40, kType = 44, kNameLength = 52, kSize = 68, kHeader = 76 };

TEST_F(PayloadReaderTest, DirectoriesThatDoNotFitTheFile_AreRefusedWhole) {
  struct Damage {
    size_t at;
    uint32_t value;
  } damages[] = {
      {kCount, 0},          {kCount, 0xFFFFFFFFu}, {kCount, 0x7FFFFFFFu}, {kCount, 2},
      {kTypeLength, 0},     {kTypeLength, 261},    {kTypeLength, 7},      {kNameLength, 0},
      {kNameLength, 261},   {kNameLength, 300},    {kHeader, 81},         {kHeader, 79},
      {kSize, 5},           {kSize, 0xFFFFFFFFu},
  };
  for (const Damage& damage : damages) {
    Bytes image = Image(200, ProjectType(2));
    SetU32(image, 200 + damage.at, damage.value);
    payload::PayloadReader reader(Write(image));
    EXPECT_EQ(0, reader.EntryCount()) << damage.at << "=" << damage.value;
    uint8_t value[4];
    EXPECT_FALSE(reader.ReadItem("ProjectType", value, 4, nullptr));
    EXPECT_EQ(payload::DirectoryStatus::kBadDirectory, reader.Status()) << damage.at << "=" << damage.value;
    EXPECT_EQ(200, reader.MarkerOffset());
  }
}

TEST_F(PayloadReaderTest, StringsWithoutTheirTerminator_AreRefused) {
  Bytes image = Image(200, ProjectType(2));
  image[200 + kType + 7] = 'X';
  payload::PayloadReader reader(Write(image));
  EXPECT_EQ(0, reader.EntryCount());
  EXPECT_EQ(payload::DirectoryStatus::kBadDirectory, reader.Status());
}

TEST_F(PayloadReaderTest, MissingOrTinyFile_ReportNoPayloadAndWhy) {
  std::string absentPath = dir_.File("absent.exe");
  payload::PayloadReader absent(absentPath.c_str());
  EXPECT_EQ(payload::DirectoryStatus::kCannotOpen, absent.Status());
  EXPECT_NE(0u, absent.ReadError());
  payload::PayloadReader tiny(Write(Bytes{1, 2}));
  EXPECT_EQ(payload::DirectoryStatus::kNoMarker, tiny.Status());
}

TEST_F(PayloadReaderTest, BytesAfterTheTrailer_LeaveTheScanToFindThePayload) {
  Bytes image = Image(3000, ProjectType(5));
  image.insert(image.end(), 1500, 0xAB);
  payload::PayloadReader reader(Write(image));
  EXPECT_EQ(5u, ReadU32(reader, "ProjectType"));
}

// Small reads into a buffer are served from bytes read ahead: items that
// straddle what was read ahead, items about the size where reads stop being
// served so, and reads that go back and forth must each give the item's own
// bytes, whichever way they are read and whatever was read before.
TEST_F(PayloadReaderTest, SmallReadsInAnyOrder_GiveEachItemItsOwnBytes) {
  std::vector<Bytes> items;
  for (int i = 0; i < 200; ++i) items.push_back(Bytes(3001 + i % 7, static_cast<uint8_t>(i)));
  for (uint32_t size : {4095u, 4096u, 4097u, 65535u, 65536u, 65537u, 300000u}) {
    items.push_back(Bytes(size, static_cast<uint8_t>(size)));
  }
  for (Bytes& item : items) item[item.size() / 2] = static_cast<uint8_t>(item.size());
  PayloadBuilder payload;
  for (size_t i = 0; i < items.size(); ++i) payload.AddRaw("f" + std::to_string(i), items[i]);
  payload::PayloadReader reader(Write(Image(4096, payload)));
  auto check = [&](size_t i, int how) {
    std::string name = "f" + std::to_string(i);
    const Bytes& want = items[i];
    Bytes got(want.size() + 1, 0xCC);
    if (how == 0) {
      ASSERT_TRUE(reader.ReadEntry(reader.Item(name.c_str(), nullptr), got.data(), int32_t(want.size()))) << name;
    } else if (how == 1) {
      ASSERT_TRUE(reader.ReadItem(name.c_str(), nullptr, 0, nullptr)) << name;
      ASSERT_EQ(want.size(), reader.DataSize()) << name;
      memcpy(got.data(), reader.Data(), want.size());
    } else {
      uint32_t size = 0;
      uint8_t tail[4];
      ASSERT_TRUE(reader.BeginPieces(name.c_str(), &size, tail)) << name;
      ASSERT_EQ(0, memcmp(tail, want.data() + want.size() - 4, 4)) << name;
      const uint8_t* bytes = nullptr;
      size_t count = 0, done = 0;
      while (reader.Next(&bytes, &count)) {
        memcpy(got.data() + done, bytes, count);
        done += count;
      }
      ASSERT_TRUE(reader.EndPieces()) << name;
      ASSERT_EQ(want.size(), done) << name;
    }
    EXPECT_EQ(0, memcmp(want.data(), got.data(), want.size())) << name << " read " << how;
    EXPECT_EQ(0xCC, got[want.size()]) << name;
  };
  for (size_t i = 0; i < items.size(); ++i) check(i, int(i % 3));
  for (size_t i = items.size(); i-- > 0;) check(i, int(i % 3));
  for (size_t n = 0; n < items.size(); ++n) check(n * 37 % items.size(), int(n % 3));
  reader.ReleaseData();
  check(items.size() - 3, 0);
  check(1, 1);
}
