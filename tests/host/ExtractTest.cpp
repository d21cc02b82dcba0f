// vpack extract: the files as the installation places them, and nothing at
// all when a name is unsafe.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "packager/EngineFormat.h"
#include "packager/PayloadBuilder.h"
#include "tests/support/Payloads.h"
#include "tests/support/StubImage.h"
#include "tests/support/TempDir.h"
#include "vpack/extract/ExtractCommand.h"
#include "vpack/base/Error.h"

using packager::Bytes;
using testing_support::B;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::Str;
using testing_support::TempDir;

namespace {

class ExtractTest : public ::testing::Test {
 protected:
  std::string Installer(const std::string& extraName = "", const Bytes& viewer = Bytes(3000, 'V')) {
    packager::PayloadBuilder builder;
    testing_support::AddSettings(builder, testing_support::SettingsOf(1));
    builder.AddList(packager::ListKind::kChannels, {"channels\\Lights.vch"});
    builder.AddList(packager::ListKind::kChannelModules, {});
    builder.AddList(packager::ListKind::kProjectFiles, {"scenes/hall.vdl", "music.cgr"});
    builder.AddPacked("VandrelViewer.exe", viewer);
    builder.AddPacked("channels\\SaverUnit.dll", B("saver module"));
    scene_ = packager::EngineEncode(scenePlain_);
    start_ = packager::EngineEncode(B("start"));
    Bytes scene = scene_;
    if (damageScene_) scene.back() ^= 0x55;  // the stream's checksum
    builder.AddRaw("scenes/hall.vdl", scene);
    builder.AddRaw("channels\\Lights.vch", packager::EngineEncode(B("lights")));
    builder.AddRaw("VDLStart.vdl", start_);
    builder.AddRaw("music.cgr", cgr_);
    if (!extraName.empty()) builder.AddRaw(extraName, B("x"));
    std::string image = testing_support::InstallerImage(testing_support::StubImage(), builder);
    std::string path = dir_.File("setup.exe");
    EXPECT_TRUE(testing_support::WriteFileBytes(path, image.data(), image.size()));
    return path;
  }

  TempDir dir_;
  Bytes scenePlain_ = B("scene one");
  Bytes scene_, start_;
  Bytes cgr_ = packager::EngineEncode(B("music"));
  bool damageScene_ = false;
};

// Inflated, decoded by the engine or copied, as the installation writes each;
// with --stored, what the engine decodes stays in its format.
TEST_F(ExtractTest, Installer_FilesWrittenAsInstalled) {
  std::string installer = Installer();
  for (bool stored : {false, true}) {
    std::string out = dir_.File(stored ? "stored" : "out");
    ASSERT_EQ(vpack::Extract(installer, out, stored), 0);
    EXPECT_EQ(ReadFileBytes(out + "/VandrelViewer.exe"), std::string(3000, 'V'));
    EXPECT_EQ(ReadFileBytes(out + "/channels/SaverUnit.dll"), "saver module");
    EXPECT_EQ(ReadFileBytes(out + "/scenes/hall.vdl"), stored ? Str(scene_) : "scene one");
    EXPECT_EQ(ReadFileBytes(out + "/channels/Lights.vch"), stored ? Str(packager::EngineEncode(B("lights"))) : "lights");
    // The installation writes these as stored, in the engine's format: the
    // engine reads them from disk.
    EXPECT_EQ(ReadFileBytes(out + "/VDLStart.vdl"), Str(start_));
    EXPECT_EQ(ReadFileBytes(out + "/music.cgr"), Str(cgr_));
    EXPECT_FALSE(FileExists(out + "/ProjectType"));
  }
}

// Items larger than what is held at once: a zlib item beyond what is
// inflated whole, an engine item read in several pieces.
TEST_F(ExtractTest, LargeItems_WrittenWholeFromPieces) {
  Bytes viewer(40u << 20, 'v');
  for (size_t i = 0; i < viewer.size(); i += 4096) viewer[i] = static_cast<uint8_t>(i >> 12);
  scenePlain_.resize(3u << 20);
  uint32_t noise = 1;
  for (uint8_t& b : scenePlain_) b = static_cast<uint8_t>((noise = noise * 1103515245 + 12345) >> 24);
  ASSERT_EQ(vpack::Extract(Installer("", viewer), dir_.File("out")), 0);
  EXPECT_TRUE(ReadFileBytes(dir_.File("out/VandrelViewer.exe")) == Str(viewer));
  EXPECT_TRUE(ReadFileBytes(dir_.File("out/scenes/hall.vdl")) == Str(scenePlain_));
}

// Damage under a checksum made over it: that file is not written.
TEST_F(ExtractTest, DamagedEngineItem_NotWrittenAndFails) {
  damageScene_ = true;
  EXPECT_EQ(1, vpack::Extract(Installer(), dir_.File("out")));
  EXPECT_FALSE(FileExists(dir_.File("out/scenes/hall.vdl")));
  EXPECT_EQ(ReadFileBytes(dir_.File("out/music.cgr")), Str(cgr_));
}

TEST_F(ExtractTest, UnsafeName_RefusedAndNothingWritten) {
  for (const char* name : {"..\\escape.vdl", "C:\\escape.vdl", "scenes\\aux.vdl"}) {
    TempDir out;
    EXPECT_EQ(vpack::Extract(Installer(name), out.Path() + "/folder"), 1) << name;
    EXPECT_FALSE(FileExists(out.Path() + "/folder/VandrelViewer.exe")) << name;
    EXPECT_FALSE(FileExists(out.Path() + "/escape.vdl")) << name;
  }
}

// A link made in the folder before the run must not carry files out of it,
// and the refusal comes before the files that would not pass through it.
TEST_F(ExtractTest, LinkInFolder_NothingWritten) {
  std::string installer = Installer();
  ASSERT_EQ(0, system(("mkdir -p '" + dir_.File("out") + "' '" + dir_.File("elsewhere") + "'").c_str()));
  ASSERT_EQ(0, symlink(dir_.File("elsewhere").c_str(), dir_.File("out/scenes").c_str()));
  EXPECT_THROW(vpack::Extract(installer, dir_.File("out")), vpack::Error);
  EXPECT_FALSE(FileExists(dir_.File("elsewhere/hall.vdl")));
  EXPECT_FALSE(FileExists(dir_.File("out/VandrelViewer.exe")));
}

}  // namespace
