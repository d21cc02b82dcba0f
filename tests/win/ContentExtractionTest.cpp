// Engine files, channel lists and project files, with the stand-in engine.
#include <gtest/gtest.h>

#include <atomic>

#include "installer/ProgressSteps.h"
#include "packager/EngineFormat.h"
#include "payload/EngineFiles.h"
#include "platform/FileWrite.h"
#include "tests/win/InstallerFixture.h"
#include "tests/support/ExpectedMessages.h"
#include "tests/support/Environment.h"
#include "tests/support/Installers.h"
#include "tests/support/Logs.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/Payloads.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestInstaller.h"

using packager::Bytes;
using testing_support::B;
using testing_support::CopyErrorFor;
using testing_support::kCopyError;
using testing_support::FileExists;
using testing_support::ReadFileBytes;

namespace {

// All nine engine files; the DLL is the real stand-in engine.
void AddEngineFiles(packager::PayloadBuilder& payload, const char* skip = nullptr) {
  testing_support::AddEngineFiles(payload, [](const char* name) {
    return std::string(name) == "Tessaron.dll" ? testing_support::ReadBytes(testing_support::EngineDllPath())
                                               : B(std::string("module ") + name);
  }, packager::EngineEncode(B("start")), skip);
}

class ContentExtractionTest : public InstallerFixture {
 protected:
  // With a progress window that records what it is given.
  testing_support::TestInstaller& Make(const packager::PayloadBuilder& payload) {
    testing_support::TestInstaller& installer = InstallerFixture::Make(payload);
    progress_ = new testing_support::RecordingProgress;
    installer.SetProgressWindow(progress_);
    return installer;
  }

  // Engine files out, engine running, loader channel made: where the lists start.
  void ReachLists() {
    ASSERT_TRUE(installer_->ExtractEngineFiles());
    ASSERT_TRUE(installer_->StartEngine());
    ASSERT_TRUE(installer_->CreateLoaderChannel());
  }

  testing_support::RecordingProgress* progress_ = nullptr;
};

TEST_F(ContentExtractionTest, EngineFiles_AllNineInOrderWithStartFileAsStored) {
  packager::PayloadBuilder payload;
  AddEngineFiles(payload);
  auto& installer = Make(payload);
  ASSERT_TRUE(installer.ExtractEngineFiles());
  std::vector<std::string> expected;
  for (const char* name : testing_support::kEngineFileNames) expected.push_back(work_ + "\\" + name);
  EXPECT_EQ(expected, installer.Files());
  EXPECT_EQ("module channels\\FolderUnit.dll", ReadFileBytes(work_ + "\\channels\\FolderUnit.dll"));
  Bytes start = packager::EngineEncode(B("start"));
  EXPECT_EQ(std::string(start.begin(), start.end()), ReadFileBytes(work_ + "\\VDLStart.vdl"));
  EXPECT_TRUE(progress_->fractions.empty());
}

TEST_F(ContentExtractionTest, FifthEngineFileMissing_FirstFourStayOneMessage) {
  packager::PayloadBuilder payload;
  AddEngineFiles(payload, payload::kEngineFiles[4].name);
  auto& installer = Make(payload);
  EXPECT_FALSE(installer.ExtractEngineFiles());
  installer.ReportFailure();
  EXPECT_EQ(4u, installer.Files().size());
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(FileExists(work_ + "\\" + payload::kEngineFiles[i].name)) << i;
  for (int i = 5; i < 9; ++i) EXPECT_FALSE(FileExists(work_ + "\\" + payload::kEngineFiles[i].name)) << i;
  ASSERT_EQ(1u, messages_.Messages().size());
  EXPECT_EQ(kCopyError, messages_.Messages()[0].text);
  EXPECT_EQ("Installation Error", messages_.Messages()[0].caption);
}

TEST_F(ContentExtractionTest, Channels_AllExtractedAndNoProgressWithoutModules) {
  packager::PayloadBuilder payload;
  AddEngineFiles(payload);
  payload.AddList(packager::ListKind::kChannels, {"\\chan\\a.vch", "\\chan\\b.vch"});
  payload.AddList(packager::ListKind::kChannelModules, {});
  payload.AddRaw("\\chan\\a.vch", packager::EngineEncode(B("channel a")));
  payload.AddRaw("\\chan\\b.vch", packager::EngineEncode(B("channel b")));
  auto& installer = Make(payload);
  ReachLists();
  ASSERT_TRUE(installer.ExtractChannels());
  EXPECT_EQ("channel b", ReadFileBytes(work_ + "\\chan\\b.vch"));
  EXPECT_TRUE(progress_->fractions.empty());
}

// One step before each listed file: the bar only moves forward, from where
// the engine's start left it; the channel modules' share ends where the
// project files' begins, and theirs where the records take the bar on.
TEST_F(ContentExtractionTest, Lists_ProgressForwardEachListEndingWhereTheNextBegins) {
  packager::PayloadBuilder payload;
  AddEngineFiles(payload);
  payload.AddList(packager::ListKind::kChannels, {});
  payload.AddList(packager::ListKind::kChannelModules, {"m0.dll", "m1.dll"});
  payload.AddList(packager::ListKind::kProjectFiles, {"a.vdl", "b.vdl", "c.vdl"});
  for (const char* name : {"m0.dll", "m1.dll", "a.vdl", "b.vdl", "c.vdl"}) {
    payload.AddRaw(name, packager::EngineEncode(B(name)));
  }
  auto& installer = Make(payload);
  ReachLists();
  ASSERT_TRUE(installer.ExtractChannels());
  ASSERT_TRUE(installer.ExtractProjectFiles());
  const std::vector<float>& at = progress_->fractions;
  ASSERT_EQ(5u, at.size());
  EXPECT_GE(at[0], installer::progress::kEngineStarted);
  for (size_t i = 1; i < at.size(); ++i) EXPECT_GT(at[i], at[i - 1]) << i;
  EXPECT_NEAR(at[1] + (at[1] - at[0]), at[2], 1e-6);
  EXPECT_NEAR(at[3] - at[2], at[4] - at[3], 1e-6);
  EXPECT_LE(at[4] + (at[4] - at[3]), installer::progress::kRecordsDone);
  EXPECT_EQ("m1.dll", ReadFileBytes(work_ + "\\m1.dll"));
}

TEST_F(ContentExtractionTest, ProjectFiles_CgrStoredAsIs) {
  packager::PayloadBuilder payload;
  AddEngineFiles(payload);
  payload.AddList(packager::ListKind::kProjectFiles, {"scene.vdl", "music.cgr", "LOUD.CGR"});
  payload.AddRaw("scene.vdl", packager::EngineEncode(B("scene")));
  payload.AddRaw("music.cgr", packager::EngineEncode(B("as stored")));
  payload.AddRaw("LOUD.CGR", packager::EngineEncode(B("decoded")));
  auto& installer = Make(payload);
  ReachLists();
  ASSERT_TRUE(installer.ExtractProjectFiles());
  EXPECT_EQ("scene", ReadFileBytes(work_ + "\\scene.vdl"));
  Bytes stored = packager::EngineEncode(B("as stored"));
  EXPECT_EQ(std::string(stored.begin(), stored.end()), ReadFileBytes(work_ + "\\music.cgr"));
  EXPECT_EQ("decoded", ReadFileBytes(work_ + "\\LOUD.CGR"));
}

TEST_F(ContentExtractionTest, MissingEntryOrItem_SkippedInSilence) {
  packager::PayloadBuilder payload;
  AddEngineFiles(payload);
  payload.AddU32("FileCount", 3, "FILEINFO");
  payload.Add("FILEINFO", "ItemNameID0", B(std::string("a.vdl", 6)));
  payload.Add("FILEINFO", "ItemNameID2", B(std::string("c.vdl", 6)));
  payload.AddRaw("a.vdl", packager::EngineEncode(B("a")));
  payload.AddRaw("c.vdl", packager::EngineEncode(B("c")));
  payload.AddList(packager::ListKind::kChannels, {"absent.vch"});
  payload.AddList(packager::ListKind::kChannelModules, {});
  auto& installer = Make(payload);
  ReachLists();
  EXPECT_TRUE(installer.ExtractChannels());
  EXPECT_TRUE(installer.ExtractProjectFiles());
  EXPECT_TRUE(FileExists(work_ + "\\a.vdl"));
  EXPECT_TRUE(FileExists(work_ + "\\c.vdl"));
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ContentExtractionTest, HugeCount_OnlyEntriesPresentVisitedInIndexOrder) {
  packager::PayloadBuilder payload;
  AddEngineFiles(payload);
  payload.AddU32("FileCount", 0x7FFFFFFF, "FILEINFO");
  // Out of order, one of them twice, one not a key at all.
  payload.Add("FILEINFO", "ItemNameID7", B(std::string("c.vdl", 6)));
  payload.Add("FILEINFO", "itemnameid2", B(std::string("a.vdl", 6)));
  payload.Add("FILEINFO", "ItemNameID02", B(std::string("x.vdl", 6)));
  payload.Add("FILEINFO", "ItemNameID7", B(std::string("x.vdl", 6)));
  for (const char* name : {"a.vdl", "c.vdl", "x.vdl"}) payload.AddRaw(name, packager::EngineEncode(B(name)));
  payload.AddList(packager::ListKind::kChannels, {});
  payload.AddList(packager::ListKind::kChannelModules, {});
  auto& installer = Make(payload);
  ReachLists();
  EXPECT_TRUE(installer.ExtractProjectFiles());
  std::vector<std::string> files = installer.Files();
  ASSERT_EQ(11u, files.size());
  EXPECT_EQ(work_ + "\\a.vdl", files[9]);
  EXPECT_EQ(work_ + "\\c.vdl", files[10]);
  EXPECT_EQ(2u, progress_->fractions.size());
}

TEST_F(ContentExtractionTest, ListedFileThatCannotBeWritten_StopsWithCopyError) {
  packager::PayloadBuilder payload;
  AddEngineFiles(payload);
  payload.AddList(packager::ListKind::kProjectFiles, {"blocked\\a.vdl", "b.vdl"});
  payload.AddRaw("blocked\\a.vdl", packager::EngineEncode(B("a")));
  payload.AddRaw("b.vdl", packager::EngineEncode(B("b")));
  auto& installer = Make(payload);
  ReachLists();
  // A file where the folder should be: the file cannot be created.
  ASSERT_TRUE(testing_support::WriteFileBytes(work_ + "\\blocked", "x", 1));
  EXPECT_FALSE(installer.ExtractProjectFiles());
  installer.ReportFailure();
  EXPECT_EQ(std::vector<std::string>{CopyErrorFor(work_ + "\\blocked\\a.vdl", ERROR_PATH_NOT_FOUND)},
            messages_.Texts());
  EXPECT_FALSE(FileExists(work_ + "\\b.vdl"));
}

// Large files are written while the next one is decoded. Each must still
// arrive whole and in list order, and a write that fails, the list's last
// included, must be reported, leave no file behind and stop the list.
std::atomic<int> largeWrites;
int failingWrite;

BOOL FailOneLargeWrite(HANDLE file, const void* bytes, DWORD count, DWORD* written) {
  if (count >= (256u << 10) && largeWrites++ == failingWrite) {
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }
  return WriteFile(file, bytes, count, written, nullptr);
}

TEST_F(ContentExtractionTest, LargeFiles_WholeInOrderAndAFailedWriteStopsTheList) {
  const std::vector<std::string> names = {"big0.vdl", "big1.vdl", "big2.vdl"};
  packager::PayloadBuilder payload;
  AddEngineFiles(payload);
  payload.AddList(packager::ListKind::kProjectFiles, names);
  // Over a megabyte, which is written in more than one piece.
  std::vector<std::string> bodies;
  for (size_t i = 0; i < names.size(); ++i) {
    bodies.emplace_back((1u << 20) + (300u << 10), '\0');
    for (size_t b = 0; b < bodies[i].size(); ++b) bodies[i][b] = static_cast<char>(b * 7 + b / 4099 + i);
    payload.AddRaw(names[i], packager::EngineEncode(B(bodies[i])));
  }
  for (int fail : {-1, 1, 2}) {
    auto& installer = Make(payload);
    for (const std::string& name : names) DeleteFileA((work_ + "\\" + name).c_str());
    ReachLists();
    size_t before = installer.Files().size();
    largeWrites = 0;
    // The failing file's second piece: its first megabyte is on disk by then.
    failingWrite = fail < 0 ? -1 : 2 * fail + 1;
    platform::writeHook = FailOneLargeWrite;
    bool extracted = installer.ExtractProjectFiles();
    platform::writeHook = nullptr;
    if (!extracted) installer.ReportFailure();
    size_t whole = fail < 0 ? names.size() : static_cast<size_t>(fail);
    EXPECT_EQ(fail < 0, extracted) << fail;
    std::vector<std::string> files = installer.Files();
    ASSERT_EQ(before + whole, files.size()) << fail;
    for (size_t i = 0; i < names.size(); ++i) {
      std::string path = work_ + "\\" + names[i];
      EXPECT_EQ(i < whole, FileExists(path)) << fail << " " << i;
      if (i >= whole) continue;
      EXPECT_EQ(path, files[before + i]);
      EXPECT_TRUE(ReadFileBytes(path) == bodies[i]) << fail << " " << i;
    }
    EXPECT_EQ(fail < 0 ? std::vector<std::string>{}
                       : std::vector<std::string>{CopyErrorFor(work_ + "\\" + names[fail], ERROR_DISK_FULL)},
              messages_.Texts())
        << fail;
    // The next installer writes the engine's files again.
    installer.ReleaseEngine();
  }
}

// An engine may load a channel module while it decodes the next one: by then
// the module must be on disk whole and open to readers.
TEST_F(ContentExtractionTest, ChannelModuleOpenedDuringNextDecode_IsWhole) {
  const std::string big((300u << 10) + 17, 'm');
  packager::PayloadBuilder payload;
  AddEngineFiles(payload);
  payload.AddList(packager::ListKind::kChannels, {});
  payload.AddList(packager::ListKind::kChannelModules, {"big.dll", "small.dll", "last.dll"});
  payload.AddRaw("big.dll", packager::EngineEncode(B(big)));
  payload.AddRaw("small.dll", packager::EngineEncode(B("small")));
  payload.AddRaw("last.dll", packager::EngineEncode(B("last")));
  auto& installer = Make(payload);
  testing_support::EngineLog log(dir_.Path());
  testing_support::ScopedEnvironment peek("VDL_ENGINE_PEEK", (work_ + "\\big.dll").c_str());
  ReachLists();
  ASSERT_TRUE(installer.ExtractChannels());
  std::vector<std::string> peeks = log.LinesStartingWith("Peek");
  ASSERT_EQ(3u, peeks.size());
  EXPECT_EQ("Peek absent", peeks[0]);
  EXPECT_EQ("Peek " + std::to_string(big.size()), peeks[1]);
  EXPECT_EQ("Peek " + std::to_string(big.size()), peeks[2]);
  installer.ReleaseEngine();
}

TEST_F(ContentExtractionTest, MissingCounts_TheirOwnMessages) {
  packager::PayloadBuilder noLists;
  auto& installer = Make(noLists);
  EXPECT_FALSE(installer.ExtractChannels());
  EXPECT_FALSE(installer.ExtractProjectFiles());
  installer.ReportFailure();
  packager::PayloadBuilder noModules;
  noModules.AddList(packager::ListKind::kChannels, {});
  auto& second = Make(noModules);
  EXPECT_FALSE(second.ExtractChannels());
  second.ReportFailure();
  EXPECT_EQ((std::vector<std::string>{"Can't find ChannelCount"}), messages_.Texts());
  EXPECT_EQ("Error", messages_.Messages()[0].caption);
}

}  // namespace
