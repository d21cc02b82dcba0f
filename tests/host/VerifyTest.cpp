// verify answers "will this installer do its job?": each kind of broken
// installer is named, an intact one passes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "packager/EngineFormat.h"
#include "packager/PayloadBuilder.h"
#include "payload/RuntimeFiles.h"
#include "payload/TextItems.h"
#include "tests/support/PackProject.h"
#include "tests/support/Payloads.h"
#include "tests/support/StubImage.h"
#include "tests/support/TempDir.h"
#include "tests/support/VpackRun.h"
#include "vpack/base/Error.h"
#include "vpack/manifest/Manifest.h"
#include "vpack/read/Verify.h"

using packager::Bytes;
using packager::ListKind;
using testing_support::B;
using testing_support::DataOf;
using testing_support::RemoveItem;
using testing_support::StubImage;
using testing_support::TempDir;

namespace {

// A program as the sample's stub needs it: built for i386.
Bytes Program(bool dll) { return B(testing_support::ProgramImage(testing_support::kI386, dll)); }

// A real program of the Windows builds: the stand-ins, the stubs.
const std::string kStandIns64 = VDL_STANDINS_X64, kStandIns32 = VDL_STANDINS_I686;
const std::string kEngine64 = kStandIns64 + "/engine/Tessaron.dll", kEngine32 = kStandIns32 + "/engine/Tessaron.dll";
const std::string kUninstaller64 = kStandIns64 + "/uninstaller/VDLUnInst.exe";
const std::string kViewer32 = kStandIns32 + "/viewer/VandrelViewer.exe";
const std::string kAdminStub64 = std::string(VDL_STUBS_X64) + "/VandrelStubAdmin.exe";
const std::string kIcon = VDL_SOURCE_DIR "/sample/tour/art/tour.ico";
Bytes Real(const std::string& path) { return B(testing_support::ReadFileBytes(path)); }

// A standalone project with everything its flow reads.
packager::PayloadBuilder StandaloneProject(const std::vector<std::string>& projectFiles = {"scene.vdl", "music.cgr"},
                                           const std::string& installPath = "C:\\Tour") {
  packager::PayloadBuilder builder;
  testing_support::InstallSettings settings = testing_support::SettingsOf(2);
  settings.installPath = installPath, settings.shortcutName = "\\Tour", settings.projectName = "Tour";
  testing_support::AddSettings(builder, settings);
  builder.AddList(ListKind::kChannels, {});
  builder.AddList(ListKind::kChannelModules, {});
  builder.AddList(ListKind::kProjectFiles, projectFiles);
  builder.AddPacked(payload::kViewerName, Program(false));
  builder.AddPacked(payload::kUninstallerName, Program(false));
  testing_support::AddEngineFiles(builder, [](const char*) { return Program(true); }, packager::EngineEncode(B("start")));
  builder.AddRaw("scene.vdl", packager::EngineEncode(B("scene one")));
  builder.AddRaw("music.cgr", packager::EngineEncode(B("music")));
  return builder;
}

void Repack(packager::PayloadBuilder& builder, const std::string& name, const Bytes& unpacked) {
  testing_support::DataOf(builder, name) = packager::ZlibPack(unpacked);
}

std::function<void(packager::PayloadBuilder&)> Replaces(const std::string& name, const Bytes& unpacked) {
  return [name, unpacked](packager::PayloadBuilder& b) { Repack(b, name, unpacked); };
}

void FlipByteAt(std::string& file, const std::string& text) {
  size_t at = file.find(text);
  ASSERT_NE(at, std::string::npos) << text;
  file[at + text.size() - 1] ^= 1;
}

std::function<void(packager::PayloadBuilder&)> Adds(const std::string& name) {
  return [name](packager::PayloadBuilder& b) { b.AddRaw(name, packager::EngineEncode(B("x"))); };
}

// A resource tree whose directories are shared: each entry of a level leads
// to the one directory below, so that a few kilobytes stand for a billion
// resources.
std::string SharedResourceTree() {
  std::string tree(0x80, '\0');
  auto put = [&tree](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) tree[at + i] = static_cast<char>(value >> (8 * i));
  };
  put(0x0C, 2u << 16), put(0x10, 1), put(0x14, 0x80000020), put(0x18, 2), put(0x1C, 0x80000020);
  put(0x2C, 1u << 16), put(0x30, 1), put(0x34, 0x80000040);
  put(0x4C, 1u << 16), put(0x50, 0x409), put(0x54, 0x60);
  put(0x60, 0x1070), put(0x64, 4);
  return tree;
}

struct Broken {
  const char* kind;
  const char* says;
  std::function<void(packager::PayloadBuilder&)> items = nullptr;
  std::function<void(std::string& stub)> stub = nullptr;
  std::function<void(std::string& file, size_t stubSize)> file = nullptr;
  std::vector<std::string> projectFiles = {"scene.vdl", "music.cgr"};
  std::string needs = "";  // a file of the Windows builds the case reads
};

void PrintTo(const Broken& broken, std::ostream* out) { *out << broken.kind; }

std::string Build(const Broken& broken) {
  packager::PayloadBuilder builder = StandaloneProject(broken.projectFiles);
  if (broken.items) broken.items(builder);
  std::string stub = StubImage(1024, testing_support::StubVariant::kAdmin);
  if (broken.stub) broken.stub(stub);
  std::string file = testing_support::InstallerImage(stub, builder);
  if (broken.file) broken.file(file, stub.size());
  return file;
}

// The problems, then the warnings after "warning: ".
std::vector<std::string> Problems(const std::string& image) {
  TempDir dir;
  std::string path = dir.File("setup.exe");
  EXPECT_TRUE(testing_support::WriteFileBytes(path, image.data(), image.size()));
  vpack::InstallerFacts facts;
  std::vector<std::string> problems = vpack::InstallerProblems(path, &facts);
  for (const std::string& warning : facts.warnings) problems.push_back("warning: " + warning);
  return problems;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

TEST(Verify, IntactInstaller_NoProblems) { EXPECT_EQ(Joined(Problems(Build({}))), ""); }

// vpack 1.3 stored each text as an item of its own in the installer's code
// page; those installers are read, listed and verified as before.
TEST(Verify, TextsAsVpack13StoredThem_ListedAndVerified) {
  std::string image = Build({"", "", [](packager::PayloadBuilder& b) {
                               b.AddU32("CodePage", 1250);
                               b.Add(payload::kTypeText, "41", B("Hotovo, \x9A" "lo to"));
                               b.Add(payload::kTypeText, "10", B("Instalovat"));
                             }});
  EXPECT_EQ(Joined(Problems(image)), "");
  TempDir dir;
  ASSERT_TRUE(testing_support::WriteFileBytes(dir.File("setup.exe"), image.data(), image.size()));
  testing_support::VpackOutcome list = testing_support::RunVpack(dir, "list --json setup.exe");
  ASSERT_EQ(list.status, 0) << list.err;
  nlohmann::json listed = nlohmann::json::parse(list.out);
  EXPECT_EQ(listed["texts"], nlohmann::json({{"done", "Hotovo, šlo to"}, {"dialog.install", "Instalovat"}}));
  EXPECT_EQ(listed["languages"], nlohmann::json::object());
}

TEST(Verify, SignedAfterPayload_NoProblemsUntilMoreFollows) {
  std::string file = Build({});
  size_t stubSize = StubImage(1024, testing_support::StubVariant::kAdmin).size();
  // A signing tool appends its certificate, points the stub's directory entry
  // at it and stamps the checksum over the whole file.
  size_t certificate = file.size();
  file += std::string(64, 'C');
  for (int i = 0; i < 4; ++i) {
    file[testing_support::kStubSecurityEntryAt + i] = static_cast<char>((certificate >> (8 * i)) & 0xFF);
    file[testing_support::kStubSecurityEntryAt + 4 + i] = static_cast<char>((64 >> (8 * i)) & 0xFF);
  }
  testing_support::StampChecksum(file);
  ASSERT_LT(testing_support::kStubSecurityEntryAt, stubSize);
  // The trailer is no longer last, so the reader finds the payload by its scan.
  EXPECT_EQ(Joined(Problems(file)), "");
  // Bytes after the signature are no part of it, and the installer ignores them.
  file += "appended";
  testing_support::StampChecksum(file);
  EXPECT_NE(Joined(Problems(file)).find("72 bytes follow the payload's trailer"), std::string::npos)
      << Joined(Problems(file));
}

// The installer writes an empty project file like any other.
TEST(Verify, EmptyProjectFiles_NoProblems) {
  Broken empty{"EmptyProjectFiles", "",
               [](packager::PayloadBuilder& b) {
                 b.AddRaw("blank.vdl", packager::EngineEncode(Bytes()));
                 b.AddRaw("quiet.cgr", packager::EngineEncode(Bytes()));
               },
               nullptr, nullptr, {"scene.vdl", "music.cgr", "blank.vdl", "quiet.cgr"}};
  EXPECT_EQ(Joined(Problems(Build(empty))), "");
}

// Copied as stored, as the installer decides: ".cgr" anywhere in the name.
TEST(Verify, CgrInsideProjectFileName_CopiedAccepted) {
  Broken inside{"CgrInside", "",
                [](packager::PayloadBuilder& b) { b.AddRaw("tune.cgr.bak", packager::EngineEncode(B("tune"))); }, nullptr, nullptr,
                {"scene.vdl", "music.cgr", "tune.cgr.bak"}};
  EXPECT_EQ(Joined(Problems(Build(inside))), "");
}

// Counts as the installer reads them: signed, 0 or less an empty list, and a
// count beyond the directory still visits the entries that are there.
TEST(Verify, ListCounts_ReadAsTheInstallerReadsThem) {
  Broken negative{"NegativeCount", "", [](packager::PayloadBuilder& b) { DataOf(b, "FileCount") = {0xFF, 0xFF, 0xFF, 0xFF}; }};
  EXPECT_EQ(Joined(Problems(Build(negative))), "");
  Broken beyond{"CountBeyondTheDirectory", "", [](packager::PayloadBuilder& b) {
                  DataOf(b, "FileCount") = {0xE8, 0x03, 0, 0};
                  DataOf(b, "scene.vdl").back() ^= 0x55;
                }};
  EXPECT_EQ(Joined(Problems(Build(beyond))), "APPDATA \"scene.vdl\": does not decode: its packed stream is damaged\n");
}

// A list naming the engine's DLL has the installation write over the file
// it has loaded, which no wait lets go: pack and verify refuse it, each in
// one line naming the entry, in the same words.
TEST(Verify, ListNamingTheEngine_RefusedByPackAndVerify) {
  const std::string says = "names \"Tessaron.dll\", the engine, which the installation has loaded";
  Broken engine{"ListNamingTheEngine", "", nullptr, nullptr, nullptr, {"scene.vdl", "music.cgr", "Tessaron.dll"}};
  std::vector<std::string> found = Problems(Build(engine));
  auto line = std::find_if(found.begin(), found.end(), [&](const std::string& l) { return l.find(says) != l.npos; });
  ASSERT_NE(line, found.end()) << Joined(found);
  EXPECT_EQ(0u, line->find("FILEINFO \"ItemNameID2\": " + says)) << *line;
  std::string text = testing_support::RuntimeEntries(2) +
                     "[[file]]\nname = '/Tessaron.dll'\nsource = 'f.bin'\nlist = \"project\"\n";
  try {
    vpack::Manifest manifest = vpack::ParseManifest("p.toml", text);
    vpack::FinishManifest(manifest);
    ADD_FAILURE() << "packed";
  } catch (const vpack::Error& e) {
    EXPECT_NE(std::string(e.what()).find("file \"/Tessaron.dll\": " + says), std::string::npos) << e.what();
  }
}

// The paths an installation writes, judged by pack and verify in the same
// words: an error where no installation can create one, a warning where it
// needs a short folder or fails a reinstall.
TEST(Verify, LongInstalledPaths_SameWordsAsPack) {
  struct Case {
    uint32_t type;
    std::string folder, name;
    bool refused;
    const char* says;
  } cases[] = {
      {2, "C:\\" + std::string(230, 'F'), "scenes\\" + std::string(40, 'n') + ".vdl", true, "installed as"},
      {2, "C:\\" + std::string(200, 'F'), std::string(45, 'd') + "\\" + std::string(4, 'n') + ".vdl", true,
       "needs the folder"},
      {1, "", std::string(205, 'n') + ".vdl", false, "under a long temporary folder"},
  };
  for (const Case& c : cases) {
    std::string text = testing_support::RuntimeEntries(c.type);
    if (c.type == 2) text.replace(text.find("InstallPath = 'C:\\x'"), 20, "InstallPath = '" + c.folder + "'");
    text += "[[file]]\nname = '" + c.name + "'\nsource = 'f.bin'\nlist = \"project\"\n";
    std::string packSays;
    bool refused = false;
    try {
      vpack::Manifest manifest = vpack::ParseManifest("p.toml", text);
      vpack::FinishManifest(manifest);
      packSays = Joined(manifest.warnings);
    } catch (const vpack::Error& e) {
      packSays = e.what(), refused = true;
    }
    EXPECT_EQ(c.refused, refused) << packSays;
    packager::PayloadBuilder builder = StandaloneProject({"scene.vdl", "music.cgr", c.name}, c.folder);
    builder.AddRaw(c.name, packager::EngineEncode(B("x")));
    if (c.type == 1) DataOf(builder, "ProjectType") = {1, 0, 0, 0};
    std::vector<std::string> found = Problems(testing_support::InstallerImage(StubImage(1024), builder));
    auto line = std::find_if(found.begin(), found.end(), [&](const std::string& l) { return l.find(c.says) != l.npos; });
    ASSERT_NE(line, found.end()) << c.says << "\n" << Joined(found);
    EXPECT_EQ(c.refused, line->rfind("warning: ", 0) != 0) << *line;
    std::string words = line->substr(line->rfind("warning: ", 0) == 0 ? 9 : 0);
    EXPECT_NE(packSays.find("p.toml: " + words), std::string::npos) << packSays << "\n" << words;
  }
}

// A setting's value that would break the installation is refused by pack
// and named by verify, in the same words.
TEST(Verify, SettingsThatBreakTheInstallation_SameWordsAsPack) {
  struct Case {
    uint32_t type;
    std::string setting, value;
  } cases[] = {
      {2, "InstallPath", "C:\\"},
      {2, "InstallPath", "C:\\Tours\\CON"},
      {2, "ShortCutName", "\\Tide Tours\\"},
      {2, "ProjectName", std::string(249, 'n')},
      {5, "ProjectName", "Harbour: Night"},
  };
  for (const Case& c : cases) {
    std::string packSays;
    try {
      vpack::Manifest manifest = vpack::ParseManifest(
          "p.toml", testing_support::RuntimeEntriesWith(c.type, c.setting, "'" + c.value + "'"));
      vpack::FinishManifest(manifest);
    } catch (const vpack::Error& e) {
      packSays = e.what();
    }
    packager::PayloadBuilder builder = StandaloneProject();
    Bytes& data = DataOf(builder, c.setting);
    std::fill(data.begin(), data.end(), 0);
    std::copy(c.value.begin(), c.value.end(), data.begin());
    if (c.type != 2) DataOf(builder, "ProjectType") = {static_cast<uint8_t>(c.type), 0, 0, 0};
    std::vector<std::string> found = Problems(testing_support::InstallerImage(StubImage(1024), builder));
    std::string label = "APPDATA \"" + c.setting + "\" (";
    auto line = std::find_if(found.begin(), found.end(), [&](const std::string& l) { return l.rfind(label, 0) == 0; });
    ASSERT_NE(line, found.end()) << c.value << "\n" << Joined(found);
    std::string words = line->substr(label.size());
    EXPECT_NE(packSays.find("setting \"" + c.setting + "\" (" + words), std::string::npos) << packSays << "\n" << words;
  }
}

class VerifyBroken : public ::testing::TestWithParam<Broken> {};

TEST_P(VerifyBroken, NamesTheProblem) {
  if (!GetParam().needs.empty() && !testing_support::FileExists(GetParam().needs)) {
    GTEST_SKIP() << "no Windows build: " << GetParam().needs;
  }
  std::vector<std::string> problems = Problems(Build(GetParam()));
  EXPECT_NE(Joined(problems).find(GetParam().says), std::string::npos) << Joined(problems);
}

const Broken kBroken[] = {
    {"NoViewer", "APPDATA \"VandrelViewer.exe\": missing; project type 2 needs it",
     [](packager::PayloadBuilder& b) { RemoveItem(b, payload::kViewerName); }},
    {"NoEngine", "APPDATA \"Tessaron.dll\": missing; every project type extracts it",
     [](packager::PayloadBuilder& b) { RemoveItem(b, "Tessaron.dll"); }},
    {"UnknownProjectType", "APPDATA \"ProjectType\": 3, a type the installer ignores",
     [](packager::PayloadBuilder& b) { DataOf(b, "ProjectType") = {3, 0, 0, 0}; }},
    {"MissingSetting", "APPDATA \"ShortCutName\": missing; project type 2 needs it",
     [](packager::PayloadBuilder& b) { RemoveItem(b, "ShortCutName"); }},
    {"WrongSizeSetting", "APPDATA \"InstallPath\": 100 bytes; the installer reads 259",
     [](packager::PayloadBuilder& b) { DataOf(b, "InstallPath").resize(100); }},
    {"TextFileAsStub", "stub: not a Windows program", nullptr,
     [](std::string& stub) { stub = "These are the release notes.\n" + std::string(2000, 'x'); }},
    {"ChangedByteInStub", "stub: image checksum does not match", nullptr,
     [](std::string& stub) { stub[0x3F0] ^= 0x40; }},
    {"StubWithoutWindowClass", "stub: does not hold the window class \"VandrelExe Window\"", nullptr,
     [](std::string& stub) {
       FlipByteAt(stub, "VandrelExe Window");
       testing_support::StampChecksum(stub);
     }},
    {"CutFile", "no payload found: the directory at offset 1024 is damaged or does not fit the file", nullptr, nullptr,
     [](std::string& file, size_t) {
       std::string trailer = file.substr(file.size() - 4);
       file = file.substr(0, file.size() - 200) + trailer;
     }},
    {"ZlibItemDoesNotInflate", "APPDATA \"VDLUnInst.exe\": does not inflate to its stated 2048 bytes",
     [](packager::PayloadBuilder& b) { DataOf(b, payload::kUninstallerName)[5] ^= 0xFF; }},
    {"ZlibItemStatesWrongSize", "APPDATA \"VandrelViewer.exe\": inflates to 2048 bytes, not its stated 4000",
     [](packager::PayloadBuilder& b) {
       Bytes& data = DataOf(b, payload::kViewerName);
       data[data.size() - 4] = 0xA0, data[data.size() - 3] = 0x0F;
     }},
    {"LargeZlibItemDamaged", "APPDATA \"VandrelViewer.exe\": does not inflate to its stated 41943040 bytes",
     [](packager::PayloadBuilder& b) {
       Repack(b, payload::kViewerName, B(testing_support::ProgramImage(testing_support::kI386, false, 40u << 20)));
       DataOf(b, payload::kViewerName)[40] ^= 0xFF;
     }},
    {"EmptyProgramFile", "APPDATA \"channels\\SaverUnit.dll\": empty",
     [](packager::PayloadBuilder& b) {
       RemoveItem(b, "channels\\SaverUnit.dll");
       b.AddPacked("channels\\SaverUnit.dll", Bytes());
     }},
    {"DanglingListEntry", "FILEINFO \"ItemNameID2\": names \"hall.vdl\", which is not in the payload", nullptr,
     nullptr, nullptr, {"scene.vdl", "music.cgr", "hall.vdl"}},
    {"ParentFolderName", "APPDATA \"..\\evil.vdl\": a name the installer refuses", Adds("..\\evil.vdl")},
    {"ForbiddenCharacter", "APPDATA \"scenes\\hall?.vdl\": a name Windows cannot create", Adds("scenes\\hall?.vdl")},
    {"NameOfTheCopyBesideAFile", "APPDATA \"scene.vdl~VDLNEW\": the name ends in \"~vdlnew\", which the installer",
     Adds("scene.vdl~VDLNEW")},
    // Engine-format items decoded as the engine would: a CRC made over damage
    // does not hide it.
    {"EngineStreamDamagedUnderGoodCrc", "APPDATA \"scene.vdl\": does not decode: its packed stream is damaged",
     [](packager::PayloadBuilder& b) { DataOf(b, "scene.vdl").back() ^= 0x55; }},
    {"StartFileStatesWrongSize", "APPDATA \"VDLStart.vdl\": decodes to 5 bytes, not its stated 500",
     [](packager::PayloadBuilder& b) { DataOf(b, "VDLStart.vdl")[4] = 0xF4, DataOf(b, "VDLStart.vdl")[5] = 1; }},
    {"DuplicateName", "APPDATA \"SCENE.VDL\": entry 24 has the type and name of entry 22 (case aside)",
     [](packager::PayloadBuilder& b) { b.AddRaw("SCENE.VDL", packager::EngineEncode(B("other"))); }},
    {"SameFileOnWindows", "APPDATA \"scenes/hall.vdl\": the same file on Windows as APPDATA \"scenes\\hall.vdl\"",
     [](packager::PayloadBuilder& b) {
       b.AddRaw("scenes\\hall.vdl", packager::EngineEncode(B("hall")));
       b.AddRaw("scenes/hall.vdl", packager::EngineEncode(B("hall")));
     }},
    {"SecondInstallerAppended", "bytes follow the payload's trailer (at offset ", nullptr, nullptr,
     [](std::string& file, size_t) { file += file; }},
    // ".cgr" project files are copied as stored, by the installer's rule: lower
    // case, anywhere in the name; any other name is decoded. The engine reads
    // them from disk in its own format.
    {"CgrDamaged", "APPDATA \"music.cgr\": does not decode",
     [](packager::PayloadBuilder& b) { DataOf(b, "music.cgr").back() ^= 0x55; }},
    {"CgrAsZlib", "warning: APPDATA \"music.cgr\": stored as zlib, but the installer copies",
     Replaces("music.cgr", B("tune"))},
    {"CgrStoredRaw", "warning: APPDATA \"music.cgr\": not in the engine format, but the installer copies",
     [](packager::PayloadBuilder& b) { DataOf(b, "music.cgr") = B("tune"); }},
    {"UpperCaseCgrStoredRaw", "APPDATA \"LOUD.CGR\": not in the engine format",
     [](packager::PayloadBuilder& b) { b.AddRaw("LOUD.CGR", B("raw")); }, nullptr, nullptr,
     {"scene.vdl", "music.cgr", "LOUD.CGR"}},
    // Only the project list copies ".cgr" files as stored; a channel is decoded.
    {"CgrChannelStoredRaw", "APPDATA \"chan.cgr\": not in the engine format",
     [](packager::PayloadBuilder& b) {
       RemoveItem(b, packager::ListCountName(ListKind::kChannels), packager::ListType(ListKind::kChannels));
       b.AddList(ListKind::kChannels, {"chan.cgr"});
       b.AddRaw("chan.cgr", B("raw"));
     }},
    // Programs the flow loads or starts: of the right kind, for the stub's machine.
    {"X64EngineForI386Stub",
     "APPDATA \"Tessaron.dll\": built for x86-64; an installer with an i386 stub needs i386 programs",
     [](packager::PayloadBuilder& b) { Repack(b, "Tessaron.dll", Real(kEngine64)); }, nullptr, nullptr, {}, kEngine64},
    {"X64UninstallerForI386Stub", "APPDATA \"VDLUnInst.exe\": built for x86-64",
     [](packager::PayloadBuilder& b) { Repack(b, payload::kUninstallerName, Real(kUninstaller64)); }, nullptr, nullptr,
     {}, kUninstaller64},
    {"X64ChannelUnitForI386Stub", "APPDATA \"channels\\SaverUnit.dll\": built for x86-64",
     Replaces("channels\\SaverUnit.dll", B(testing_support::ProgramImage(testing_support::kAmd64, true)))},
    {"I386ViewerForX64Stub",
     "APPDATA \"VandrelViewer.exe\": built for i386; an installer with an x86-64 stub needs x86-64 programs",
     [](packager::PayloadBuilder& b) { Repack(b, payload::kViewerName, Real(kViewer32)); },
     [](std::string& stub) { stub = testing_support::ReadFileBytes(kAdminStub64); }, nullptr, {}, kAdminStub64},
    {"DllAsViewer", "APPDATA \"VandrelViewer.exe\": a DLL, but it is started as a program (EXE)",
     [](packager::PayloadBuilder& b) { Repack(b, payload::kViewerName, Real(kEngine32)); }, nullptr, nullptr, {},
     kEngine32},
    {"ExeAsEngine", "APPDATA \"Tessaron.dll\": a program (EXE), but it is loaded as a DLL",
     [](packager::PayloadBuilder& b) { Repack(b, "Tessaron.dll", Real(kViewer32)); }, nullptr, nullptr, {}, kViewer32},
    {"TextFileAsEngine", "APPDATA \"Tessaron.dll\": not a Windows program (no \"MZ\" header)",
     Replaces("Tessaron.dll", B("Release notes of the engine, version 2.\n"))},
    {"IconAsViewer", "APPDATA \"VandrelViewer.exe\": not a Windows program",
     [](packager::PayloadBuilder& b) { Repack(b, payload::kViewerName, Real(kIcon)); }},
    {"DllAsScreenSaver", "APPDATA \"VDLSvr.scr\": a DLL, but it is started as a program (EXE)",
     [](packager::PayloadBuilder& b) { b.AddPacked(payload::kScreenSaverName, Program(true)); }},
    {"ExeAsWinampPlugin", "APPDATA \"WinAmp.dll\": a program (EXE), but it is loaded as a DLL",
     [](packager::PayloadBuilder& b) { b.AddPacked(payload::kWinampModuleName, Program(false)); }},
    // The engine loads the entries of the channel-modules list, once decoded, as DLLs.
    {"ExeAsChannelModule", "APPDATA \"channels\\TourFade.dll\": a program (EXE), but it is loaded as a DLL",
     [](packager::PayloadBuilder& b) {
       RemoveItem(b, packager::ListCountName(ListKind::kChannelModules), packager::ListType(ListKind::kChannelModules));
       b.AddList(ListKind::kChannelModules, {"channels\\TourFade.dll"});
       b.AddRaw("channels\\TourFade.dll", packager::EngineEncode(Program(false)));
     }},
    // The stub: a Vandrel stub of the variant the project type needs.
    {"DllAsStub", "stub: a DLL, not a program Windows can start", nullptr,
     [](std::string& stub) { stub = testing_support::ReadFileBytes(kEngine32); }, nullptr, {}, kEngine32},
    {"UserStubForInstallingType",
     "stub: asks for \"asInvoker\"; project type 2 installs, so it needs VandrelStubAdmin.exe", nullptr,
     [](std::string& stub) { stub = StubImage(1024, testing_support::StubVariant::kUser); }},
    // The 32-bit installer holds an item it decodes whole, with the engine's
    // output beside it.
    {"EngineItemTooLargeForThe32BitStub", "APPDATA \"scene.vdl\": too large for the 32-bit installer",
     [](packager::PayloadBuilder& b) { DataOf(b, "scene.vdl") = packager::EngineEncode(Bytes(610u << 20)); }},
    // A crafted stub costs a verdict, not the machine's memory or time.
    {"ResourceSectionStates4GiB", "section .rsrc stating 4294967295 bytes, more than the file's 1024", nullptr,
     [](std::string& stub) { testing_support::PutResourceTree(stub, "", 0xFFFFFFFF); }},
    {"ResourceDirectoriesShared", "has a resource directory reached twice", nullptr,
     [](std::string& stub) { testing_support::PutResourceTree(stub, SharedResourceTree(), 0x200); }},
    // A text the installer would pass over for its English.
    {"DamagedText", "TEXT \"41\" (done): checksum",
     [](packager::PayloadBuilder& b) { b.Add(payload::kTypeText, "41", B("Fertig!")); }, nullptr,
     [](std::string& file, size_t) { FlipByteAt(file, "Fertig!"); }},
    {"TextLosesPlaceholder", "TEXT \"33\" (error.foreign_code_page): lacks the placeholder \"%2\"",
     [](packager::PayloadBuilder& b) { b.Add(payload::kTypeText, "33", B("Codepage %1 fehlt")); }},
    {"TextBytesOutsideCodePage", "TEXT \"41\" (done): holds bytes code page 1252 does not define",
     [](packager::PayloadBuilder& b) { b.Add(payload::kTypeText, "41", B("Fertig\x81")); }},
    // A language the installer would pass over, or a text of it, written by
    // hand: the language number, the flags, then number, length, UTF-8.
    {"DamagedLanguage", "LANG \"de\": checksum",
     [](packager::PayloadBuilder& b) { b.Add("LANG", "de", B(std::string("\x07\x04\0\0\x29\x07\0Fertig!", 14))); },
     nullptr, [](std::string& file, size_t) { FlipByteAt(file, "Fertig!"); }},
    {"LanguageLosesPlaceholder", "LANG \"de\": text error.foreign_code_page: lacks the placeholder \"%2\"",
     [](packager::PayloadBuilder& b) {
       b.Add("LANG", "de", B(std::string("\x07\x04\0\0\x21\x11\0Codepage %1 fehlt", 24)));
     }},
    {"LanguageNotUtf8", "LANG \"de\": text done: not UTF-8: the installer shows the English",
     [](packager::PayloadBuilder& b) { b.Add("LANG", "de", B(std::string("\x07\x04\0\0\x29\x07\0Fertig\xFC", 14))); }},
    {"LanguageTextPastItsEnd", "LANG \"de\": a text runs past the block's end",
     [](packager::PayloadBuilder& b) { b.Add("LANG", "de", B(std::string("\x07\x04\0\0\x29\x40\0Fertig", 13))); }},
    // A licence the stub could not show: not UTF-16 that ends with its NUL.
    {"LicenceUnterminated", "LICN \"*\": not UTF-16 ending with its terminator",
     [](packager::PayloadBuilder& b) { b.Add("LICN", "*", B(std::string("T\0e\0r\0m\0", 8) + "s")); }},
    {"AdminStubForRunInPlace",
     "stub: asks for \"requireAdministrator\"; project type 1 runs in place as the user, so it needs VandrelStub.exe",
     [](packager::PayloadBuilder& b) { DataOf(b, "ProjectType") = {1, 0, 0, 0}; }},
};

INSTANTIATE_TEST_SUITE_P(Kinds, VerifyBroken, ::testing::ValuesIn(kBroken),
                         [](const ::testing::TestParamInfo<Broken>& info) { return std::string(info.param.kind); });

}  // namespace
