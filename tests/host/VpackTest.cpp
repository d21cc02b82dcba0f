// vpack as its users run it: the real program on real manifests.
#include <gtest/gtest.h>

#include <regex>

#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "packager/EngineFormat.h"
#include "packager/PayloadBuilder.h"
#include "payload/PayloadReader.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/PackProject.h"
#include "tests/support/Payloads.h"
#include "tests/support/StubImage.h"
#include "tests/support/TempDir.h"
#include "tests/support/VpackProjectTest.h"
#include "tests/support/VpackRun.h"
#include "vpack/pe/ResourceSection.h"
#include "vpack/pe/VersionResource.h"

using testing_support::ReadFileBytes;
using testing_support::Str;
using testing_support::TempDir;

namespace {

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

using Outcome = testing_support::VpackOutcome;

using VpackTest = testing_support::VpackProjectTest;

TEST_F(VpackTest, Pack_WritesStubUnchangedThenDirectoryInOrder) {
  Put("tour.toml", GoodManifest());
  Outcome run = Vpack("pack tour.toml -o setup.exe");
  ASSERT_EQ(run.status, 0) << run.err;
  std::string image = ReadFileBytes(dir_.File("setup.exe"));
  ASSERT_EQ(image.compare(0, stub_.size(), stub_), 0);

  std::string readerPath = dir_.File("setup.exe");
  payload::PayloadReader reader(readerPath.c_str());
  ASSERT_EQ(reader.MarkerOffset(), static_cast<int64_t>(stub_.size()));
  // Settings, the lists, then the files sorted by name whatever the
  // manifest's order.
  const char* expected[] = {"ProjectType", "CheckDx8", "CodePage", "ChannelCount", "ChannelDLLCount", "ChannelDLLItemNameID0",
                            "FileCount", "ItemNameID0", "ItemNameID1", "SpaceNeeded",
                            "channels\\3A8F6C21-70DE-4B95-9E14-C2B7580AD3F9.dll"};
  ASSERT_EQ(reader.EntryCount(), 10 + 10 + 3);
  for (size_t i = 0; i < std::size(expected); ++i) EXPECT_STREQ(reader.Entry(i)->name, expected[i]) << i;
  for (int32_t i = 11; i < reader.EntryCount(); ++i) {
    EXPECT_LT(strcasecmp(reader.Entry(i - 1)->name, reader.Entry(i)->name), 0) << reader.Entry(i)->name;
  }
}

TEST_F(VpackTest, Pack_StoresEachFileAsAsked) {
  Put("tour.toml", GoodManifest());
  ASSERT_EQ(Vpack("pack tour.toml -o setup.exe").status, 0);
  std::string readerPath = dir_.File("setup.exe");
  payload::PayloadReader reader(readerPath.c_str());
  ASSERT_TRUE(reader.ReadItem("music.cgr", nullptr, 0, "APPDATA"));
  packager::Bytes music;
  ASSERT_TRUE(packager::EngineDecode(reader.Data(), reader.DataSize(), &music));
  EXPECT_EQ(std::string(music.begin(), music.end()), "raw bytes");

  ASSERT_TRUE(reader.ReadItem("scene.vdl", nullptr, 0, "APPDATA"));
  packager::Bytes plain;
  ASSERT_TRUE(packager::EngineDecode(reader.Data(), reader.DataSize(), &plain));
  EXPECT_EQ(std::string(plain.begin(), plain.end()), "scene one");

  ASSERT_TRUE(reader.ReadItem("channels\\Lights.dll", nullptr, 0, "APPDATA"));
  ASSERT_TRUE(packager::EngineDecode(reader.Data(), reader.DataSize(), &plain));
  EXPECT_EQ(std::string(plain.begin(), plain.end()), loader_);

  ASSERT_TRUE(reader.ReadItem("channels\\LoaderUnit.dll", nullptr, 0, "APPDATA"));
  packager::Bytes unpacked;
  ASSERT_TRUE(packager::ZlibUnpack(packager::Bytes(reader.Data(), reader.Data() + reader.DataSize()), &unpacked));
  EXPECT_EQ(ReadFileBytes(dir_.File("runtime/channels/LoaderUnit.dll")), std::string(unpacked.begin(), unpacked.end()));
}

TEST_F(VpackTest, StubFolder_VariantPickedByProjectType) {
  ASSERT_EQ(0, system(("mkdir -p '" + dir_.File("stubs") + "'").c_str()));
  Put("stubs/VandrelStub.exe", testing_support::StubImage(1100, testing_support::StubVariant::kUser));
  Put("stubs/VandrelStubAdmin.exe", testing_support::StubImage(1200, testing_support::StubVariant::kAdmin));
  for (uint32_t type : {1u, 2u, 5u, 6u}) {
    TempDir project;
    std::string manifest = testing_support::WriteRuntimeProject(project, type);
    Put("t.toml", manifest.replace(manifest.find("runtime"), 7, project.Path() + "/runtime"));
    Outcome run = Vpack("pack t.toml -o setup.exe --stub stubs");
    ASSERT_EQ(0, run.status) << type << run.err;
    std::string readerPath = dir_.File("setup.exe");
    payload::PayloadReader reader(readerPath.c_str());
    bool installs = type == 2 || type == 5 || type == 6;
    EXPECT_EQ(installs ? 1200 : 1100, reader.MarkerOffset()) << type;
  }
}

TEST_F(VpackTest, Pack_BadManifests_OneLineErrorAndNoOutput) {
  struct Case {
    const char* manifest;
    const char* says;
  } cases[] = {
      {"[settings]\nProjectTipe = 1\n", "unknown setting \"ProjectTipe\""},
      {"[settings]\nCheckDx8 = 300\n", "setting \"CheckDx8\" is 300"},
      {"[settings]\nProjectType = -1\n", "setting \"ProjectType\" is -1"},
      {"[settings]\nProjectType = 1\n[[file]]\nname = 'a'\nsource = \"missing.bin\"\n", "missing.bin"},
      {"[settings]\nProjectType = 1\n[[file]]\nname = 'a'\nsource = \"scene.txt\"\nstore = \"lzma\"\n",
       "unknown store \"lzma\""},
      {"[settings]\nProjectType = 1\n[[file]]\nname = 'ProjectType'\nsource = \"scene.txt\"\n",
       "duplicate item name"},
      {"[settings\n", "bad.toml:2:10: bad TOML: "},
  };
  for (const Case& c : cases) {
    Put("bad.toml", std::string("stub = \"stub.exe\"\n") + c.manifest);
    Outcome run = Vpack("pack bad.toml -o setup.exe");
    EXPECT_EQ(run.status, 1) << c.manifest;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    // One line per problem, each an error.
    EXPECT_EQ(run.err.rfind("vpack: error: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), CountOf(run.err, "vpack: error: ")) << run.err;
    EXPECT_FALSE(testing_support::FileExists(dir_.File("setup.exe"))) << c.manifest;
  }
}

TEST_F(VpackTest, Pack_FailureLeavesEarlierOutputAndNoTemporary) {
  Put("setup.exe", "earlier");
  Put("bad.toml", Manifest("ProjectType = 1\n", File("a", "missing.bin")));
  ASSERT_EQ(Vpack("pack bad.toml -o setup.exe").status, 1);
  EXPECT_EQ(ReadFileBytes(dir_.File("setup.exe")), "earlier");
  int leftover = system(("ls '" + dir_.Path() + "' | grep -q vpack-").c_str());
  EXPECT_NE(leftover, 0) << "a temporary file was left behind";
}

TEST_F(VpackTest, CommandLine_Misuse_UsageAndStatusTwo) {
  for (const char* arguments : {"", "frobnicate", "pack", "pack tour.toml", "list", "verify", "pack --jobs 0",
                                "pack t.toml -o x --json", "pack t.toml --dry-run --var X"}) {
    Outcome run = Vpack(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("usage: vpack pack"), std::string::npos) << arguments;
  }
  EXPECT_EQ(0u, Vpack("frobnicate").err.find("vpack: error: unknown command \"frobnicate\" (pack, verify"));
}

TEST_F(VpackTest, CommandLine_HelpVersionAndSummary) {
  Outcome reference = Vpack("help");
  EXPECT_EQ(0, reference.status);
  for (const char* command : {"pack", "verify", "list", "extract"}) {
    EXPECT_NE(std::string::npos, reference.out.find(command)) << reference.out;
  }
  for (const char* arguments : {"--help", "pack --help", "verify --help", "list --help", "extract --help"}) {
    Outcome run = Vpack(arguments);
    EXPECT_EQ(0, run.status) << arguments;
    EXPECT_NE(std::string::npos, run.out.find("Usage:")) << arguments << run.out;
    // The reference page is the one place options are described.
    std::regex option("--[a-z][a-z-]*");
    for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), option); it != std::sregex_iterator(); ++it) {
      std::regex whole(it->str() + "(?![a-z-])");
      EXPECT_TRUE(std::regex_search(reference.out, whole)) << arguments << ": " << it->str();
    }
  }
  Outcome version = Vpack("--version");
  EXPECT_EQ(0, version.status);
  EXPECT_EQ(0u, version.out.rfind("vpack ", 0)) << version.out;
  Put("tour.toml", GoodManifest());
  Put("runtime/Thumbs.db", "litter");
  Outcome pack = Vpack("pack tour.toml -o setup.exe");
  ASSERT_EQ(0, pack.status) << pack.err;
  EXPECT_NE(std::string::npos, pack.out.find("setup.exe: 13 files")) << pack.out;
  EXPECT_NE(std::string::npos, pack.out.find("left out 1 version-control and desktop file")) << pack.out;
  EXPECT_EQ("", pack.err) << "progress only on a terminal";
}

// On a terminal the long commands show a progress bar on stderr (stdout
// goes elsewhere here); --quiet and --json leave it out.
TEST_F(VpackTest, Progress_OnATerminalUnlessQuietOrJson) {
  Put("tour.toml", GoodManifest());
  ASSERT_EQ(0, Vpack("pack tour.toml -o setup.exe").status);
  struct Case {
    const char* arguments;
    const char* shows;  // null: nothing on the terminal
  } cases[] = {
      {"pack tour.toml -o again.exe", "vpack: packing ["},       {"verify setup.exe", "vpack: verifying ["},
      {"extract setup.exe -o out", "vpack: extracting ["},      {"pack tour.toml -o again.exe --quiet", nullptr},
      {"verify setup.exe -q", nullptr},                          {"verify setup.exe --json", nullptr},
      {"extract setup.exe -o out2 --quiet", nullptr},
  };
  for (const Case& c : cases) {
    testing_support::ChildOutcome screen = testing_support::RunCapturing(
        "cd '" + dir_.Path() + "' && script -qec '" VDL_VPACK_PATH " " + c.arguments + " >/dev/null' /dev/null 2>&1");
    ASSERT_EQ(0, screen.status) << c.arguments;
    const std::string& shown = screen.out;
    if (c.shows == nullptr) {
      EXPECT_EQ("", shown) << c.arguments;
    } else {
      EXPECT_NE(std::string::npos, shown.find(c.shows)) << c.arguments << "\n" << shown;
      EXPECT_NE(std::string::npos, shown.find(" MB, ")) << shown;
      EXPECT_NE(std::string::npos, shown.find(" MB/s")) << shown;
    }
  }
}

// An output inside a packed folder: neither it, nor an earlier installer of
// its name, nor a dead pack's temporary of it goes into the installer, so
// that every build packs the same.
TEST_F(VpackTest, OutputInsideAPackedFolder_LeftOutOfIt) {
  Put("tour.toml", GoodManifest() + "[[folder]]\nsource = \"content\"\nlist = \"project\"\n");
  Put("content/a.vdl", "a");
  Put("content/setup.exe.vpack-elsewhere-1-1", "a dead pack's");
  ASSERT_EQ(0, Vpack("pack tour.toml -o content/setup.exe").status);
  std::string first = ReadFileBytes(dir_.File("content/setup.exe"));
  Outcome again = Vpack("pack tour.toml -o content/setup.exe");
  ASSERT_EQ(0, again.status) << again.err;
  EXPECT_TRUE(first == ReadFileBytes(dir_.File("content/setup.exe")));
  EXPECT_EQ(std::string::npos, Vpack("list content/setup.exe").out.find("setup.exe"));
}

TEST_F(VpackTest, Pack_BadNames_EveryOneOnItsOwnLineWithItsReason) {
  struct Case {
    const char* name;
    const char* says;
  } cases[] = {
      {"..\\evil.dll", "has a \"..\" component"},
      {"C:\\evil.dll", "holds a ':' (a drive or a stream), which leaves"},
      {"scenes\\a<b.vdl", "a character Windows forbids in file names ('<')"},
      {"scenes\\nul.txt", "a device name on Windows (\"nul.txt\")"},
      {"sc\u00e8nes.\\a.vdl", "ending in a dot or a space, which Windows drops (\"sc\u00e8nes.\")"},
  };
  std::string files;
  for (const Case& c : cases) files += File(c.name, "scene.txt", "list = \"project\"\n");
  Put("bad.toml", runtime_ + files);
  Outcome run = Vpack("pack bad.toml -o setup.exe");
  EXPECT_EQ(1, run.status);
  for (const Case& c : cases) {
    std::string entry = File(c.name, "scene.txt", "list = \"project\"\n");
    std::string line = "vpack: error: " + testing_support::PlaceIn("bad.toml", runtime_ + files, entry) + ": file \"" +
                       c.name + "\": the name ";
    size_t at = run.err.find(line);
    ASSERT_NE(std::string::npos, at) << c.name << "\n" << run.err;
    EXPECT_NE(std::string::npos, run.err.substr(at, run.err.find('\n', at) - at).find(c.says)) << run.err;
  }
  EXPECT_FALSE(testing_support::FileExists(dir_.File("setup.exe")));
}

// As root nothing is unreadable, so vpack then runs as nobody.
TEST_F(VpackTest, Pack_UnreadableFolderDeepInTree_NamedItself) {
  Put("tour.toml", runtime_ + "[[folder]]\nsource = \"content\"\n");
  testing_support::PutFile(dir_, "content/a/b/locked/scene.vdl", "s");
  ASSERT_EQ(0, chmod(dir_.File("content/a/b/locked").c_str(), 0));
  ASSERT_EQ(0, system(("chmod -R a+rX '" + dir_.Path() + "' && chmod a+w '" + dir_.Path() + "'").c_str()));
  ASSERT_EQ(0, chmod(dir_.File("content/a/b/locked").c_str(), 0));
  std::string as = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  // Its errors alone are read: "2>&1 >/dev/null" swaps them in for the output.
  testing_support::ChildOutcome run = testing_support::RunCapturing(
      "cd '" + dir_.Path() + "' && " + as + VDL_VPACK_PATH " pack tour.toml -o setup.exe 2>&1 >/dev/null");
  EXPECT_NE(0, run.status);
  EXPECT_NE(std::string::npos, run.out.find("cannot read the folder \"content/a/b/locked\": Permission denied")) << run.out;
  chmod(dir_.File("content/a/b/locked").c_str(), 0755);
}

}  // namespace
