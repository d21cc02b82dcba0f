// Japanese, Chinese and Korean Windows: names of two-byte characters whose
// second byte is the byte of '\'. ctest runs this program once under each
// double-byte code page (Wine takes the system's code page from the locale
// of the whole program, not from a child's environment); under any other
// page these tests have nothing to show and skip.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <set>

#include "packager/EngineFormat.h"
#include "platform/AnsiChars.h"
#include "tests/e2e/StandaloneFixture.h"
#include "tests/support/SystemState.h"

using namespace standalone_e2e;
using testing_support::FileExists;

namespace {

// A name in the system's code page: in 932, 936 and 950 with second bytes
// of 0x5C (ソ, 歃 and 表, 歃 of the last lead byte of its first range, 9F;
// 乗; 許 and 功); in 949, which has none, the control.
std::string DoubleByteName() {
  const wchar_t* name = nullptr;
  switch (GetACP()) {
    case 932: name = L"ソフト歃表"; break;
    case 936: name = L"乗客"; break;
    case 949: name = L"한글"; break;
    case 950: name = L"許功蓋"; break;
    default: return "";
  }
  char ansi[64];
  WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, sizeof(ansi), nullptr, nullptr);
  return ansi;
}

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

class DoubleByteTest : public StandaloneTest {
 public:
  void SetUp() override {
    name_ = DoubleByteName();
    if (name_.empty()) GTEST_SKIP() << "code page " << GetACP() << " is no double-byte one";
    top_ = dir_.File(name_);
    settings_.installPath = top_ + "\\" + name_;
    settings_.shortcutName = "\\" + menu_ + "\\" + name_ + "\\" + name_;
    alterProject_ = [this](packager::PayloadBuilder& project) {
      testing_support::AddProjectFiles(project, {{name_ + "\\" + name_ + ".cgr", packager::Bytes{'t', 'o', 'u', 'r'}}});
    };
  }

  // Every file and link in place, and no folder on the way that nobody
  // asked for: each folder of the path holds the next one alone. The record
  // names the folders made, top_ where the installer made it.
  void ExpectInstalledWithoutStrays(bool topMade = true) {
    std::string install = Install();
    for (const std::string& file : {std::string("VandrelViewer.exe"), std::string("VDLUnInst.exe"),
                                    std::string("scenes\\Quay.vdl"), name_ + "\\" + name_ + ".cgr"}) {
      EXPECT_TRUE(FileExists(install + "\\" + file)) << file;
    }
    EXPECT_EQ(std::set<std::string>{name_}, testing_support::FoldersIn(dir_.Path()));
    EXPECT_EQ(std::set<std::string>{name_}, testing_support::FoldersIn(top_));
    EXPECT_EQ((std::set<std::string>{"channels", "music", "scenes", name_}), testing_support::FoldersIn(install));
    EXPECT_EQ(std::set<std::string>{name_}, testing_support::FoldersIn(Menu()));
    // The link's texts are the system code page's, read back as they were.
    testing_support::LinkFacts link = testing_support::ReadShellLink(Menu() + "\\" + name_ + "\\" + name_ + ".lnk");
    EXPECT_EQ(install + "\\VandrelViewer.exe", link.target);
    EXPECT_EQ(install, link.workingFolder);
    // The record names the folders made, each a folder that is there.
    std::vector<std::string> folders;
    for (const chunks::Chunk& chunk : Record("uninstall.nfo")) {
      if (chunk.tag == "UNDN") folders.push_back(Text(chunk.data));
    }
    for (const std::string& folder : folders) EXPECT_TRUE(IsFolder(folder)) << folder;
    std::vector<std::string> made = {install + "\\", install + "\\" + name_ + "\\", Menu() + "\\" + name_ + "\\"};
    if (topMade) made.push_back(top_ + "\\");
    for (const std::string& folder : made) {
      EXPECT_NE(folders.end(), std::find(folders.begin(), folders.end(), folder)) << folder;
    }
    EXPECT_EQ("\"" + install + "\\VDLUnInst.exe\"",
              testing_support::MachineString(kUninstallKey + settings_.projectName, "UninstallString", view32_));
  }

  std::string name_, top_;
};

TEST_F(DoubleByteTest, TypedFolder_EveryFileInPlaceNoStrayFolder) {
  std::string typed = settings_.installPath;
  settings_.installPath = dir_.File("Offered");
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  SendMessageA(GetDlgItem(options.window, kPathEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
  std::vector<DialogSeen> boxes = InstallToEnd(options.window);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(kDone, boxes[0].text);
  settings_.installPath = typed;
  ExpectInstalledWithoutStrays();
}

// The installer itself downloaded into such a folder, and the folder given
// on an administrator's command line.
TEST_F(DoubleByteTest, GivenFolderSilentFromSuchAFolder_EveryFileInPlaceNoStrayFolder) {
  WriteSetup();
  ASSERT_TRUE(CreateDirectoryA(top_.c_str(), nullptr));
  std::string setup = top_ + "\\setup.exe";
  ASSERT_TRUE(MoveFileA(dir_.File("setup.exe").c_str(), setup.c_str()));
  std::string install = settings_.installPath;
  settings_.installPath = dir_.File("Offered");
  ASSERT_TRUE(driver_.Start(setup, "/S /D=" + install));
  ASSERT_TRUE(driver_.WaitForExit(testing_support::Resolve(Arch::kX64) == Arch::kX64 ? kRunMs : kRunMsI686));
  EXPECT_EQ(0u, driver_.ExitCode());
  settings_.installPath = install;
  ExpectInstalledWithoutStrays(false);
}

// Longer than a path in bytes, though not in characters: refused as such,
// not cut inside a character, and nothing made.
TEST_F(DoubleByteTest, LongTypedFolder_RefusedNothingMade) {
  std::string typed = top_;
  while (typed.size() <= 300) typed += "\\" + name_ + name_ + name_ + name_;
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  SendMessageA(GetDlgItem(options.window, kPathEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
  PostMessageA(options.window, WM_COMMAND, MAKEWPARAM(kInstall, BN_CLICKED), 0);
  DialogSeen box = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, box.window);
  EXPECT_EQ("The path of the installation folder is too long.", box.text);
  ASSERT_TRUE(driver_.Press(box.window, IDOK));
  ASSERT_TRUE(driver_.Press(options.window, kCancel));
  ASSERT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_EQ(2u, driver_.ExitCode());
  EXPECT_TRUE(testing_support::FoldersIn(dir_.Path()).empty());
}

// Two katakana whose second bytes differ as an ASCII letter's cases do
// (ア 83 41, ヂ 83 61) are two files: over an earlier installation of one,
// the other's record names both, so that the uninstaller removes both.
TEST_F(DoubleByteTest, EarlierFileOneSecondByteApart_BothRecorded) {
  if (GetACP() != 932) GTEST_SKIP() << "a pair of code page 932's";
  const std::string a = "\x83\x41.txt", di = "\x83\x61.txt";
  // A folder of plain letters: the subject is the two names.
  settings_.installPath = dir_.File("Katakana");
  for (const std::string* name : {&di, &a}) {
    alterProject_ = [name](packager::PayloadBuilder& project) {
      testing_support::AddProjectFiles(project, {{*name, packager::EngineEncode(packager::Bytes{'k'})}});
    };
    ASSERT_EQ(0u, RunSilently("/S /D=" + Install()));
  }
  std::vector<std::string> files = Recorded("UNFN");
  for (const std::string& name : {a, di}) {
    EXPECT_EQ(1, std::count(files.begin(), files.end(), Install() + "\\" + name)) << name;
  }
  // The list beside the record names both too, for the next installation.
  std::string list = testing_support::ReadFileBytes(Install() + "\\uninstall.lst");
  for (const std::string& name : {a, di}) {
    EXPECT_NE(std::string::npos, list.find("F " + Install() + "\\" + name + "\r\n")) << name;
  }
}

// The temporary folder of an account with such a name: the project runs
// from below it, and nothing is made beside it.
TEST_F(DoubleByteTest, TemporaryFolderOfSuchAnAccount_RunsInPlaceNoStrayFolder) {
  std::string temp = top_ + "\\" + name_;
  ASSERT_TRUE(CreateDirectoryA(top_.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(temp.c_str(), nullptr));
  ScopedEnvironment tmp("TMP", temp.c_str()), tempVariable("TEMP", temp.c_str());
  std::string setup = dir_.File("run.exe");
  Arch arch = testing_support::Resolve(Arch::kX64);
  ASSERT_TRUE(testing_support::WriteInstaller(setup, arch == Arch::kX64 ? testing_support::StubPath() : testing_support::StubPathI686(),
                                              testing_support::RunInPlaceProject(arch)));
  std::string setupLog = dir_.File("setup.log");
  EXPECT_TRUE(testing_support::RunToEnd(setup, arch == Arch::kX64 ? kRunMs : kRunMsI686, "/LOG=" + setupLog).empty());
  // Removed again at the end, a stray folder shows only in the log, which
  // is UTF-8.
  char utf8[1024];
  WideCharToMultiByte(CP_UTF8, 0, testing_support::Wide(temp + "\\").c_str(), -1, utf8, sizeof(utf8), nullptr, nullptr);
  int created = 0;
  for (const std::string& line : testing_support::LogLines(setupLog)) {
    if (line.rfind("Created: ", 0) != 0) continue;
    ++created;
    EXPECT_EQ(0u, line.find("Created: " + std::string(utf8))) << line;
  }
  EXPECT_GT(created, 0);
  EXPECT_TRUE(testing_support::HasLine(log_, "Viewer command VandrelViewer.exe VDLStart.vdl"))
      << testing_support::ReadFileBytes(log_);
  EXPECT_TRUE(testing_support::HasLine(log_, "Viewer end"));
  EXPECT_EQ(std::set<std::string>{name_}, testing_support::FoldersIn(dir_.Path()));
  EXPECT_EQ(std::set<std::string>{name_}, testing_support::FoldersIn(top_));
  EXPECT_TRUE(testing_support::FoldersIn(temp).empty());
}

// A cut at a whole character stays within its room: a pair that would end
// past it is left out whole, never written half or beyond.
TEST(DoubleByteCut, PairAtTheEndOfTheRoom_LeftOutNothingWrittenPast) {
  if (GetACP() != 932) GTEST_SKIP() << "pairs of code page 932's";
  // ソ (83 5C) and 歃 (9F 5C), from the two ends of the first lead range.
  for (const char* pair : {"\x83\x5C", "\x9F\x5C"}) {
    SCOPED_TRACE(testing::PrintToString(std::string(pair)));
    std::string whole = std::string("ab") + pair;
    char out[8];
    memset(out, 0x7F, sizeof(out));
    // Room for 3 bytes and the terminator.
    EXPECT_EQ(2u, text::CopyWholeChars(out, whole.c_str(), 3));
    EXPECT_STREQ("ab", out);
    for (size_t i = 3; i < sizeof(out); ++i) EXPECT_EQ(0x7F, out[i]) << i;
    EXPECT_EQ(4u, text::CopyWholeChars(out, whole.c_str(), 4));
    EXPECT_EQ(whole, out);
  }
}

// An installer made for 1252 holding "Café.vdl": a Central European system
// (1250) writes the same letters; a Japanese one (932) has no "é" and
// refuses before anything is written.
class ForeignCodePageTest : public StandaloneTest {
 protected:
  // The run stops at its first box, naming both pages, and writes nothing.
  void ExpectRefusedBeforeAnything() {
    WriteSetup();
    ASSERT_TRUE(driver_.Start(dir_.File("setup.exe")));
    DialogSeen box = driver_.WaitForDialog(kRunMs);
    ASSERT_NE(nullptr, box.window);
    EXPECT_EQ("Error", box.caption);
    EXPECT_NE(std::string::npos, box.text.find("code page 1252")) << box.text;
    EXPECT_NE(std::string::npos, box.text.find(std::to_string(GetACP()))) << box.text;
    ASSERT_TRUE(driver_.Press(box.window, IDOK));
    ASSERT_TRUE(driver_.WaitForExit(kRunMs));
    EXPECT_EQ(1u, driver_.ExitCode());
    EXPECT_FALSE(FileExists(dir_.File("Apps")));
  }
};

TEST_F(ForeignCodePageTest, MadeFor1252_ConvertedOrRefusedBeforeAnything) {
  if (GetACP() != 1250 && GetACP() != 932) GTEST_SKIP() << "run under code pages 1250 and 932";
  const std::string cafe = "Caf\xE9.vdl";
  alterProject_ = [&](packager::PayloadBuilder& project) {
    project.AddU32("CodePage", 1252);
    testing_support::AddProjectFiles(project, {{cafe, packager::EngineEncode(packager::Bytes{'q', 'u', 'a', 'y'})}});
  };
  if (GetACP() == 1250) {
    std::vector<DialogSeen> boxes = InstallAll();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(kDone, boxes.back().text);
    EXPECT_TRUE(FileExists(Install() + "\\" + cafe));
    return;
  }
  ExpectRefusedBeforeAnything();
}

// "ñ" is F1 in 1252, a byte that 1250 reads as "ń": read in the installer's
// page, 1250 lacks the letter and the run is refused; read in the
// system's, it would install a file of another name without a word.
TEST_F(ForeignCodePageTest, MadeFor1252WithALetterTheSystemLacks_RefusedBeforeAnything) {
  if (GetACP() != 1250) GTEST_SKIP() << "run under code page 1250";
  alterProject_ = [&](packager::PayloadBuilder& project) {
    project.AddU32("CodePage", 1252);
    testing_support::AddProjectFiles(project,
                                     {{"Se\xF1or.vdl", packager::EngineEncode(packager::Bytes{'q', 'u', 'a', 'y'})}});
  };
  ExpectRefusedBeforeAnything();
}

// A project file of a text setting's width is bytes, not text: high bytes
// that the system's page lacks do not stop a 1252 installer on 932.
TEST_F(ForeignCodePageTest, RawProjectFileOfATextSettingsWidth_Installed) {
  if (GetACP() != 1250 && GetACP() != 932) GTEST_SKIP() << "run under code pages 1250 and 932";
  const packager::Bytes raw(259, 0xE9);
  alterProject_ = [&](packager::PayloadBuilder& project) {
    project.AddU32("CodePage", 1252);
    testing_support::AddProjectFiles(project, {{"notes.cgr", raw}});
  };
  std::vector<DialogSeen> boxes = InstallAll();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(kDone, boxes.back().text);
  EXPECT_EQ(std::string(raw.begin(), raw.end()), testing_support::ReadFileBytes(Install() + "\\notes.cgr"));
}

}  // namespace
