// vpack's pack through its library: where it refuses to write, --strict, and
// a streamed, parallel payload that reads back as the installer reads it.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <vector>

#include "packager/EngineFormat.h"
#include "packager/PayloadBuilder.h"
#include "payload/PayloadReader.h"
#include "tests/support/PackProject.h"
#include "vpack/Commands.h"
#include "vpack/DeflatePieces.h"
#include "vpack/Error.h"

using testing_support::PutFile;
using testing_support::ReadFileBytes;
using testing_support::TempDir;

namespace {

class PackTest : public ::testing::Test {
 protected:
  PackTest() {
    PutFile(dir_, "content/scenes/hall.vdl", std::string(200000, 'h') + "hall");
    PutFile(dir_, "content/music/theme.cgr", "raw music bytes");
    PutFile(dir_, "tour.toml", head_ + "[[folder]]\nsource = \"content\"\n");
  }

  // The one-line error of a pack, or "" when it packs.
  std::string Refusal(const std::string& output, bool strict = false) {
    vpack::PackOptions options{dir_.File("tour.toml"), output, "", strict, 0};
    try {
      vpack::Pack(options);
    } catch (const vpack::Error& e) {
      return e.what();
    }
    return std::string();
  }

  TempDir dir_;
  std::string head_ = testing_support::WriteRuntimeProject(dir_, 1);
};

// Packing must not destroy what it reads or write through what is not a file of its own.
TEST_F(PackTest, OutputThatIsAnInputLinkDeviceOrFolder_RefusedAndKept) {
  PutFile(dir_, "art/tour.ico", ReadFileBytes(VDL_SOURCE_DIR "/sample/tour/art/tour.ico"));
  PutFile(dir_, "tour.toml", ReadFileBytes(dir_.File("tour.toml")) + "[branding]\nicon = \"art/tour.ico\"\n");
  PutFile(dir_, "target.exe", "kept");
  ASSERT_EQ(0, symlink(dir_.File("target.exe").c_str(), dir_.File("link.exe").c_str()));
  std::vector<std::pair<std::string, std::string>> cases = {{dir_.File("link.exe"), "is a symbolic link"},
                                                            {"/dev/null", "is not a regular file"}};
  for (const char* input : {"tour.toml", "stub.exe", "content/music/theme.cgr", "art/tour.ico"}) {
    cases.emplace_back(dir_.File(input), "packing would overwrite it");
  }
  for (const auto& [output, says] : cases) {
    std::string before = ReadFileBytes(output);
    std::string error = Refusal(output);
    EXPECT_NE(std::string::npos, error.find(says)) << output << ": " << error;
    EXPECT_EQ(before, ReadFileBytes(output)) << output;
  }
  EXPECT_NE(std::string::npos, Refusal(dir_.File("content")).find("is a folder"));
}

TEST_F(PackTest, Strict_WarningIsAnError) {
  PutFile(dir_, "tour.toml", head_ + "[[file]]\nname = 'lost.vdl'\nsource = \"stub.exe\"\n");
  EXPECT_EQ("", Refusal(dir_.File("lenient.exe")));
  std::string error = Refusal(dir_.File("strict.exe"), true);
  EXPECT_NE(std::string::npos, error.find("--strict")) << error;
  EXPECT_FALSE(testing_support::FileExists(dir_.File("strict.exe")));
}

TEST_F(PackTest, InstallerOf2GiB_RefusedBeforeWriting) {
  // Two sparse raw files, each small enough alone: nothing is read to refuse them.
  for (const char* name : {"a.cgr", "b.cgr"}) {
    ASSERT_EQ(0, system(("truncate -s 1200M '" + dir_.File("content/music/") + name + "'").c_str()));
  }
  std::string error = Refusal(dir_.File("setup.exe"));
  EXPECT_NE(std::string::npos, error.find("must stay below 2 GiB")) << error;
  EXPECT_FALSE(testing_support::FileExists(dir_.File("setup.exe")));
}

TEST_F(PackTest, AnyThreadCount_SameBytesThatReadBack) {
  // Enough files that the workers finish out of order.
  for (int i = 0; i < 40; ++i)
    PutFile(dir_, "content/many/f" + std::to_string(i) + ".vdl", std::string(i * 997, 'a' + i % 26));
  std::string outputs[2];
  for (unsigned jobs : {1u, 4u}) {
    std::string output = dir_.File("setup" + std::to_string(jobs) + ".exe");
    ASSERT_EQ(0, vpack::Pack({dir_.File("tour.toml"), output, "", false, jobs}));
    outputs[jobs == 1 ? 0 : 1] = ReadFileBytes(output);
  }
  ASSERT_EQ(outputs[0], outputs[1]);

  payload::PayloadReader reader(dir_.File("setup1.exe").c_str());
  for (int32_t i = 0; i < reader.EntryCount(); ++i) {
    const payload::PayloadEntry* entry = reader.Entry(i);
    // Read back against the checksum the directory states.
    EXPECT_TRUE(reader.ReadItem(entry->name, nullptr, 0, entry->type)) << entry->name;
  }
  ASSERT_TRUE(reader.ReadItem("scenes\\hall.vdl", nullptr, 0, "APPDATA"));
  packager::Bytes plain;
  ASSERT_TRUE(packager::EngineDecode(reader.Data(), reader.DataSize(), &plain));
  EXPECT_EQ(std::string(200000, 'h') + "hall", std::string(plain.begin(), plain.end()));
}

// Above kWholeFileLimit a file is compressed in pieces, as one stream that
// the installer (zlib store) and the engine (engine store) inflate.
TEST_F(PackTest, LargeFiles_InPiecesOneStreamSameBytesAnyThreadCount) {
  std::string large(vpack::kWholeFileLimit + vpack::kPieceSize + 12345, '\0');
  for (size_t i = 0; i < large.size(); i += 4099) large[i] = static_cast<char>('a' + i % 23);
  PutFile(dir_, "content/big.vdl", large);
  PutFile(dir_, "VDLSvr.scr", large.substr(1000));
  PutFile(dir_, "tour.toml", ReadFileBytes(dir_.File("tour.toml")) +
                                 "[[file]]\nname = 'VDLSvr.scr'\nsource = \"VDLSvr.scr\"\n");
  std::string outputs[2];
  for (unsigned jobs : {1u, 3u}) {
    std::string output = dir_.File("setup" + std::to_string(jobs) + ".exe");
    ASSERT_EQ(0, vpack::Pack({dir_.File("tour.toml"), output, "", false, jobs}));
    outputs[jobs == 1 ? 0 : 1] = ReadFileBytes(output);
  }
  ASSERT_TRUE(outputs[0] == outputs[1]);
  payload::PayloadReader reader(dir_.File("setup1.exe").c_str());
  ASSERT_TRUE(reader.ReadItem("big.vdl", nullptr, 0, "APPDATA"));
  packager::Bytes plain;
  ASSERT_TRUE(packager::EngineDecode(reader.Data(), reader.DataSize(), &plain));
  EXPECT_TRUE(std::string(plain.begin(), plain.end()) == large);
  ASSERT_TRUE(reader.ReadItem("VDLSvr.scr", nullptr, 0, "APPDATA"));
  ASSERT_TRUE(packager::ZlibUnpack(packager::Bytes(reader.Data(), reader.Data() + reader.DataSize()), &plain));
  EXPECT_TRUE(std::string(plain.begin(), plain.end()) == large.substr(1000));
}

}  // namespace
