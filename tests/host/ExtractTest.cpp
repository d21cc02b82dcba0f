// vpack extract: the files as the installation places them, and nothing at
// all when a name is unsafe.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "packager/EngineFormat.h"
#include "packager/PayloadBuilder.h"
#include "tests/support/StubImage.h"
#include "tests/support/TempDir.h"
#include "vpack/Commands.h"
#include "vpack/Error.h"

using packager::Bytes;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempDir;

namespace {

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

class ExtractTest : public ::testing::Test {
 protected:
  std::string Installer(const std::string& extraName = "") {
    packager::PayloadBuilder builder;
    builder.AddU32("ProjectType", 1);
    builder.AddFlag("CheckDx8", 0);
    builder.AddPacked("VandrelViewer.exe", Bytes(3000, 'V'));
    builder.AddPacked("channels\\SaverUnit.dll", Text("saver module"));
    scene_ = packager::EngineEncode(Text("scene one"));
    builder.AddRaw("scenes/hall.vdl", scene_);
    builder.AddRaw("music.cgr", Text("raw bytes"));
    if (!extraName.empty()) builder.AddRaw(extraName, Text("x"));
    std::string stub = testing_support::StubImage();
    Bytes payload = builder.Build(static_cast<uint32_t>(stub.size()));
    std::string image = stub + std::string(payload.begin(), payload.end());
    std::string path = dir_.File("setup.exe");
    EXPECT_TRUE(testing_support::WriteFileBytes(path, image.data(), image.size()));
    return path;
  }

  TempDir dir_;
  Bytes scene_;
};

TEST_F(ExtractTest, Installer_FilesWrittenAsInstalled) {
  ASSERT_EQ(vpack::Extract(Installer(), dir_.File("out")), 0);
  EXPECT_EQ(ReadFileBytes(dir_.File("out/VandrelViewer.exe")), std::string(3000, 'V'));
  EXPECT_EQ(ReadFileBytes(dir_.File("out/channels/SaverUnit.dll")), "saver module");
  // The engine is not there to decode them: as stored.
  EXPECT_EQ(ReadFileBytes(dir_.File("out/scenes/hall.vdl")), std::string(scene_.begin(), scene_.end()));
  EXPECT_EQ(ReadFileBytes(dir_.File("out/music.cgr")), "raw bytes");
  EXPECT_FALSE(FileExists(dir_.File("out/ProjectType")));
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
