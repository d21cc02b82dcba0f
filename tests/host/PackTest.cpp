// vpack's pack through its library: where it refuses to write, --strict, and
// a streamed, parallel payload that reads back as the installer reads it.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "packager/EngineFormat.h"
#include "packager/PayloadBuilder.h"
#include "payload/PayloadReader.h"
#include "tests/support/PackProject.h"
#include "tests/support/Payloads.h"
#include "tests/support/StubImage.h"
#include "tests/support/VpackRun.h"
#include "vpack/pack/Pack.h"
#include "vpack/write/DeflatePieces.h"
#include "vpack/rules/EngineMemory.h"
#include "vpack/base/Error.h"

using testing_support::B;
using testing_support::PutFile;
using testing_support::Str;
using testing_support::ReadFileBytes;
using testing_support::TempDir;

namespace {

vpack::PackOptions Options(const std::string& manifest, const std::string& output, const std::string& stub,
                           unsigned jobs) {
  vpack::PackOptions options;
  options.manifest = manifest;
  options.output = output;
  options.stub = stub;
  options.jobs = jobs;
  return options;
}

class PackTest : public ::testing::Test {
 protected:
  PackTest() {
    PutFile(dir_, "content/scenes/hall.vdl", std::string(200000, 'h') + "hall");
    PutFile(dir_, "content/music/theme.cgr", "raw music bytes");
    PutFile(dir_, "tour.toml", head_ + "[[folder]]\nsource = \"content\"\n");
  }

  // The one-line error of a pack, or "" when it packs.
  std::string Refusal(const std::string& output, bool strict = false) {
    vpack::PackOptions options = Options(dir_.File("tour.toml"), output, "", 0);
    options.strict = strict;
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

// The measured bounds of what the 32-bit installer holds of an item the
// engine decodes: written here as measured, not taken from the rule.
TEST(EngineMemory, MeasuredBounds_FitOrNot) {
  const uint64_t mib = 1u << 20;
  EXPECT_EQ("", vpack::EngineMemoryProblem(480 * mib, 480 * mib));
  EXPECT_EQ("", vpack::EngineMemoryProblem(2 * mib, 600 * mib));
  EXPECT_NE("", vpack::EngineMemoryProblem(550 * mib, 550 * mib));
  EXPECT_NE("", vpack::EngineMemoryProblem(2 * mib, 700 * mib));
  EXPECT_NE("", vpack::EngineMemoryProblem(620 * mib, 1 * mib));
}

// Known only once compressed, yet refused before any output: the 32-bit
// installer cannot install it, as verify says.
TEST_F(PackTest, EngineItemTooLargeForThe32BitInstaller_Refused) {
  // The start file and a ".cgr" project file are written as stored, a
  // piece at a time: no size of them is too large.
  std::filesystem::resize_file(dir_.File("runtime/VDLStart.vdl"), 610u << 20);
  std::filesystem::resize_file(dir_.File("content/music/theme.cgr"), 610u << 20);
  EXPECT_EQ("", Refusal(dir_.File("fits.exe")));
  PutFile(dir_, "content/scenes/vast.vdl", "");
  std::filesystem::resize_file(dir_.File("content/scenes/vast.vdl"), 610u << 20);
  std::string error = Refusal(dir_.File("setup.exe"));
  EXPECT_NE(std::string::npos, error.find("item \"scenes\\vast.vdl\": too large for the 32-bit installer")) << error;
  EXPECT_EQ(std::string::npos, error.find("\n")) << error;
  EXPECT_FALSE(testing_support::FileExists(dir_.File("setup.exe")));
}

TEST_F(PackTest, Strict_WarningIsAnError) {
  PutFile(dir_, "tour.toml", head_ + "[[file]]\nname = 'lost.vdl'\nsource = \"stub.exe\"\n");
  EXPECT_EQ("", Refusal(dir_.File("lenient.exe")));
  std::string error = Refusal(dir_.File("strict.exe"), true);
  EXPECT_NE(std::string::npos, error.find("--strict")) << error;
  EXPECT_FALSE(testing_support::FileExists(dir_.File("strict.exe")));
}

// The installer copies a ".cgr" project file byte for byte and the engine
// reads it from disk in its own format: stored so by default, and a source
// already in that format is not wrapped a second time.
TEST_F(PackTest, CgrProjectFile_InTheEngineFormatOnceAndVerified) {
  packager::Bytes encoded = packager::EngineEncode(B("encoded music"));
  PutFile(dir_, "content/music/ready.cgr", std::string(encoded.begin(), encoded.end()));
  testing_support::VpackOutcome run = testing_support::RunVpack(dir_, "pack tour.toml -o setup.exe");
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("stored 1 files already in the engine format as they are")) << run.out;
  std::string readerPath = dir_.File("setup.exe");
  payload::PayloadReader reader(readerPath.c_str());
  packager::Bytes plain;
  ASSERT_TRUE(reader.ReadItem("music\\theme.cgr", nullptr, 0, "APPDATA"));
  ASSERT_TRUE(packager::EngineDecode(reader.Data(), reader.DataSize(), &plain));
  EXPECT_EQ("raw music bytes", Str(plain));
  ASSERT_TRUE(reader.ReadItem("music\\ready.cgr", nullptr, 0, "APPDATA"));
  EXPECT_EQ(Str(encoded), std::string(reinterpret_cast<const char*>(reader.Data()), reader.DataSize()));
  run = testing_support::RunVpack(dir_, "verify setup.exe");
  EXPECT_EQ(0, run.status) << run.err;
  EXPECT_EQ("", run.err);
}

TEST_F(PackTest, InstallerOf2GiB_RefusedBeforeWriting) {
  // Two sparse raw files, each small enough alone: nothing is read to refuse them.
  std::string raw;
  for (const char* name : {"a.bin", "b.bin"}) {
    ASSERT_EQ(0, system(("truncate -s 1200M '" + dir_.File("") + name + "'").c_str()));
    raw += std::string("[[file]]\nname = '") + name + "'\nsource = \"" + name + "\"\nstore = \"raw\"\n";
  }
  PutFile(dir_, "tour.toml", head_ + raw);
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
    ASSERT_EQ(0, vpack::Pack(Options(dir_.File("tour.toml"), output, "", jobs)));
    outputs[jobs == 1 ? 0 : 1] = ReadFileBytes(output);
  }
  ASSERT_EQ(outputs[0], outputs[1]);

  std::string readerPath = dir_.File("setup1.exe");
  payload::PayloadReader reader(readerPath.c_str());
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
  // A program, as the screen saver must be, with the large rest after it.
  const std::string saver = testing_support::ProgramImage(0x14C, false) + large.substr(1000);
  PutFile(dir_, "VDLSvr.scr", saver);
  PutFile(dir_, "tour.toml", ReadFileBytes(dir_.File("tour.toml")) +
                                 "[[file]]\nname = 'VDLSvr.scr'\nsource = \"VDLSvr.scr\"\n");
  std::string outputs[2];
  for (unsigned jobs : {1u, 3u}) {
    std::string output = dir_.File("setup" + std::to_string(jobs) + ".exe");
    ASSERT_EQ(0, vpack::Pack(Options(dir_.File("tour.toml"), output, "", jobs)));
    outputs[jobs == 1 ? 0 : 1] = ReadFileBytes(output);
  }
  ASSERT_TRUE(outputs[0] == outputs[1]);
  std::string readerPath = dir_.File("setup1.exe");
  payload::PayloadReader reader(readerPath.c_str());
  ASSERT_TRUE(reader.ReadItem("big.vdl", nullptr, 0, "APPDATA"));
  packager::Bytes plain;
  ASSERT_TRUE(packager::EngineDecode(reader.Data(), reader.DataSize(), &plain));
  EXPECT_TRUE(std::string(plain.begin(), plain.end()) == large);
  ASSERT_TRUE(reader.ReadItem("VDLSvr.scr", nullptr, 0, "APPDATA"));
  ASSERT_TRUE(packager::ZlibUnpack(packager::Bytes(reader.Data(), reader.Data() + reader.DataSize()), &plain));
  EXPECT_TRUE(std::string(plain.begin(), plain.end()) == saver);
}

// What pack refuses of the programs a flow loads or starts and of the stub:
// one line naming the manifest entry (or the stub) and what is wrong, and no
// output. The programs are the stand-ins and stubs of the Windows builds.
struct ProgramFault {
  const char* kind;
  uint32_t projectType;
  const char* file;    // below the project: replaced by the bytes of...
  std::string source;  // ...this file, read when the case runs
  std::string stub;    // --stub, when not the manifest's
  std::string says;
  std::string extra = "";  // manifest entries added after the runtime's
  size_t lines = 1;        // problems reported, one to a line
};

void PrintTo(const ProgramFault& fault, std::ostream* out) { *out << fault.kind; }

class PackProgramFault : public ::testing::TestWithParam<ProgramFault> {};

const std::string kStandIns64 = VDL_STANDINS_X64, kStandIns32 = VDL_STANDINS_I686;
const std::string kStubs64 = VDL_STUBS_X64;

TEST_P(PackProgramFault, RefusedNamingItAndNothingWritten) {
  const ProgramFault& fault = GetParam();
  for (const std::string& input : {fault.source, fault.stub}) {
    if (!input.empty() && !testing_support::FileExists(input)) GTEST_SKIP() << "no Windows build: " << input;
  }
  TempDir dir;
  std::string manifest = testing_support::WriteRuntimeProject(dir, fault.projectType);
  PutFile(dir, "tour.toml", manifest + fault.extra);
  if (fault.file != nullptr) PutFile(dir, fault.file, ReadFileBytes(fault.source));
  std::string error;
  try {
    vpack::Pack(Options(dir.File("tour.toml"), dir.File("setup.exe"), fault.stub, 0));
  } catch (const vpack::Error& e) {
    error = e.what();
  }
  // The manifest entry, and the source with what is wrong with it.
  if (fault.file != nullptr && std::string(fault.file) != "stub.exe") {
    std::string file = fault.file;
    std::string folder = file.substr(0, file.find('/'));
    std::string place = testing_support::PlaceIn("tour.toml", manifest + fault.extra,
                                                 "[[folder]]\nsource = \"" + folder + "\"");
    std::string entry = place + ": folder \"" + folder + "\", item \"";
    EXPECT_NE(std::string::npos, error.find(entry)) << error;
    EXPECT_NE(std::string::npos, error.find(file.substr(file.rfind('/') + 1) + "\": source")) << error;
  }
  EXPECT_NE(std::string::npos, error.find(fault.says)) << error;
  EXPECT_EQ(fault.lines, static_cast<size_t>(std::count(error.begin(), error.end(), '\n')) + 1) << error;
  EXPECT_FALSE(testing_support::FileExists(dir.File("setup.exe")));
}

const ProgramFault kProgramFaults[] = {
    {"X64EngineForI386Stub", 1, "runtime/Tessaron.dll", kStandIns64 + "/engine/Tessaron.dll", "",
     "/runtime/Tessaron.dll\" is built for x86-64; an installer with an i386 stub needs i386 programs"},
    {"X64UninstallerForI386Stub", 2, "runtime/VDLUnInst.exe", kStandIns64 + "/uninstaller/VDLUnInst.exe", "",
     "/runtime/VDLUnInst.exe\" is built for x86-64"},
    // Every one of the runtime's programs: the engine, its seven units, the viewer.
    {"I386ProgramsForX64Stub", 1, nullptr, "", kStubs64 + "/VandrelStub.exe",
     "\" is built for i386; an installer with an x86-64 stub needs x86-64 programs", "", 9},
    {"TextFileAsEngine", 1, "runtime/Tessaron.dll", VDL_SOURCE_DIR "/README.md", "",
     "/runtime/Tessaron.dll\" is not a Windows program"},
    {"IconAsViewer", 1, "runtime/VandrelViewer.exe", VDL_SOURCE_DIR "/sample/tour/art/tour.ico", "",
     "/runtime/VandrelViewer.exe\" is not a Windows program"},
    {"DllAsViewer", 1, "runtime/VandrelViewer.exe", kStandIns32 + "/engine/Tessaron.dll", "",
     "/runtime/VandrelViewer.exe\" is a DLL, but it is started as a program"},
    {"ExeAsWinampPlugin", 6, "runtime/WinAmp.dll", kStandIns32 + "/viewer/VandrelViewer.exe", "",
     "/runtime/WinAmp.dll\" is a program (EXE), but it is loaded as a DLL"},
    // The engine loads the entries of the channel-modules list as DLLs, whatever their names.
    {"X64ChannelModuleForI386Stub", 1, "modules/TourFade.dll", kStandIns64 + "/modules/StandInModule.dll", "",
     "/modules/TourFade.dll\" is built for x86-64; an installer with an i386 stub needs i386 programs",
     "[[folder]]\nsource = \"modules\"\ntarget = \"channels\"\nlist = \"channel-modules\"\n"},
    {"DllAsStub", 1, nullptr, "", kStandIns32 + "/engine/Tessaron.dll",
     "stub \"" + kStandIns32 + "/engine/Tessaron.dll\": a DLL, not a program Windows can start"},
    {"UserStubForInstallingType", 2, nullptr, "", kStubs64 + "/VandrelStub.exe",
     "stub \"" + kStubs64 + "/VandrelStub.exe\": asks for \"asInvoker\"; project type 2 installs, so it needs "
                            "VandrelStubAdmin.exe"},
    {"TextFileAsStub", 1, "stub.exe", VDL_SOURCE_DIR "/README.md", "",
     "stub.exe\": not a Windows program (no \"MZ\" header)"},
};

INSTANTIATE_TEST_SUITE_P(Kinds, PackProgramFault, ::testing::ValuesIn(kProgramFaults),
                         [](const ::testing::TestParamInfo<ProgramFault>& info) { return std::string(info.param.kind); });

}  // namespace
