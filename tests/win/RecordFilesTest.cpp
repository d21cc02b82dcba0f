// The record files, written through the stand-in engine's saver and read
// back through its framing.
#include <gtest/gtest.h>

#include <string.h>

#include "standins/chunks/ChunkFile.h"
#include "tests/support/Logs.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/RecordFields.h"
#include "tests/win/InstallerFixture.h"

using testing_support::Field;
using testing_support::Int;
using testing_support::EngineLog;

namespace {

struct Expected {
  std::string tag;
  uint32_t size;
  std::string data;
};

class RecordFilesTest : public InstallerFixture {
 protected:
  void SetUp() override { Start(packager::PayloadBuilder()); }

  // The engine running in the working folder, over the given settings.
  void Start(const packager::PayloadBuilder& payload) {
    Make(payload);
    ASSERT_TRUE(testing_support::PlaceEngine(work_));
    ASSERT_TRUE(installer_->StartEngine());
    messages_.Clear();
    project_ = Field("Tour of the Harbour");
  }

  void ExpectChunks(const std::string& file, const std::vector<Expected>& expected) {
    std::vector<chunks::Chunk> read;
    ASSERT_TRUE(chunks::ReadChunkFileFromPath(work_ + "\\" + file, &read)) << file;
    ASSERT_EQ(expected.size(), read.size()) << file;
    for (size_t i = 0; i < read.size(); ++i) {
      EXPECT_EQ(expected[i].tag, read[i].tag) << file << " chunk " << i;
      EXPECT_EQ(expected[i].size, read[i].declaredSize) << file << " chunk " << i;
      EXPECT_EQ(expected[i].data, std::string(read[i].data.begin(), read[i].data.end())) << file << " chunk " << i;
    }
  }

  // The plain list the installation keeps beside its record.
  std::string List() const { return work_ + "\\uninstall.lst"; }

  std::string project_;
};

TEST_F(RecordFilesTest, Standalone_FilesInOrderFoldersNewestFirstNoSkipChunk) {
  installer_->AddCreatedFile(work_ + "\\a.dll");
  installer_->AddCreatedFile(work_ + "\\b\\c.vdl");
  installer_->AddCreatedFolder("A\\");
  installer_->AddCreatedFolder("A\\B\\");
  installer_->AddCreatedFolder("A\\B\\C\\");
  ASSERT_TRUE(installer_->WriteRecordFiles(payload::RecordOf(payload::kStandalone), project_.data()));
  ExpectChunks("uninstall.nfo", {{"UNFC", 4, Int(3)},
                                 {"UNFN", 259, Field(work_ + "\\a.dll")},
                                 {"UNFN", 259, Field(work_ + "\\b\\c.vdl")},
                                 {"UNFN", 259, Field(List())},
                                 {"UNDC", 4, Int(3)},
                                 {"UNDN", 259, Field("A\\B\\C\\")},
                                 {"UNDN", 259, Field("A\\B\\")},
                                 {"UNDN", 259, Field("A\\")},
                                 {"UNPN", 259, project_}});
  EXPECT_FALSE(testing_support::FileExists(work_ + "\\screensaver.cfg"));
}

TEST_F(RecordFilesTest, LongPaths_FullFieldWithoutTerminatorOrCut) {
  std::string exact = "C:\\" + std::string(256, 'e');
  std::string longer = "C:\\" + std::string(300, 'l');
  installer_->AddCreatedFile(exact);
  installer_->AddCreatedFile(longer);
  ASSERT_TRUE(installer_->WriteRecordFiles(payload::RecordOf(payload::kStandalone), project_.data()));
  ExpectChunks("uninstall.nfo", {{"UNFC", 4, Int(3)},
                                 {"UNFN", 259, exact},
                                 {"UNFN", 259, longer.substr(0, 259)},
                                 {"UNFN", 259, Field(List())},
                                 {"UNDC", 4, Int(0)},
                                 {"UNPN", 259, project_}});
}

TEST_F(RecordFilesTest, ScreenSaver_ConfigurationThenRecordEndingInEmptySkipChunk) {
  packager::PayloadBuilder settings;
  settings.AddFlag("DoQuitCgr", 0);
  settings.AddFlag("DoSmallPreview", 0);
  Start(settings);
  EngineLog log(dir_.Path());
  ASSERT_TRUE(installer_->WriteRecordFiles(payload::RecordOf(payload::kScreenSaver), project_.data()));
  std::string configuration = work_ + "\\screensaver.cfg";
  ExpectChunks("screensaver.cfg", {{"SCFP", 259, Field(work_ + "\\VDLStart.vdl")},
                                   {"SCTI", 4, Int(20)},
                                   {"SCQC", 1, std::string(1, '\0')},
                                   {"SCSP", 1, std::string(1, '\0')}});
  ExpectChunks("uninstall.nfo", {{"UNFC", 4, Int(2)},
                                 {"UNFN", 259, Field(List())},
                                 {"UNFN", 259, Field(configuration)},
                                 {"UNDC", 4, Int(0)},
                                 {"UNPN", 259, project_},
                                 {"UNSK", 0, ""}});
  // One saver for both files, begun alone for the last chunk, destroyed once.
  std::vector<std::string> lines = log.Lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ((std::vector<std::string>{"BeginChunk UNSK", "Close", "Destroy saver"}),
            std::vector<std::string>(lines.end() - 3, lines.end()));
  EXPECT_EQ(1u, log.LinesStartingWith("CreateChannel saver").size());
}

TEST_F(RecordFilesTest, WinampPlugin_ConfigurationStopsAfterTiming) {
  ASSERT_TRUE(installer_->WriteRecordFiles(payload::RecordOf(payload::kWinampPlugin), project_.data()));
  ExpectChunks("winamp.cfg", {{"SCFP", 259, Field(work_ + "\\VDLStart.vdl")}, {"SCTI", 4, Int(20)}});
  ExpectChunks("uninstall.nfo", {{"UNFC", 4, Int(2)},
                                 {"UNFN", 259, Field(List())},
                                 {"UNFN", 259, Field(work_ + "\\winamp.cfg")},
                                 {"UNDC", 4, Int(0)},
                                 {"UNPN", 259, project_},
                                 {"UNSK", 0, ""}});
}

TEST_F(RecordFilesTest, ConfigurationThatCannotBeOpened_StillListedLast) {
  installer_->AddCreatedFile(work_ + "\\first.dll");
  CreateDirectoryA((work_ + "\\winamp.cfg").c_str(), nullptr);
  ASSERT_TRUE(installer_->WriteRecordFiles(payload::RecordOf(payload::kWinampPlugin), project_.data()));
  ExpectChunks("uninstall.nfo", {{"UNFC", 4, Int(3)},
                                 {"UNFN", 259, Field(work_ + "\\first.dll")},
                                 {"UNFN", 259, Field(List())},
                                 {"UNFN", 259, Field(work_ + "\\winamp.cfg")},
                                 {"UNDC", 4, Int(0)},
                                 {"UNPN", 259, project_},
                                 {"UNSK", 0, ""}});
}

TEST_F(RecordFilesTest, ScreenSaverSettingMissing_FalseMessageAndNoRecord) {
  packager::PayloadBuilder settings;
  settings.AddFlag("DoQuitCgr", 1);
  Start(settings);
  EXPECT_FALSE(installer_->WriteRecordFiles(payload::RecordOf(payload::kScreenSaver), project_.data()));
  installer_->ReportFailure();
  ASSERT_EQ(1u, messages_.Messages().size());
  EXPECT_EQ("Error", messages_.Messages()[0].caption);
  EXPECT_NE(std::string::npos, messages_.Messages()[0].text.find("DoSmallPreview"));
  EXPECT_FALSE(testing_support::FileExists(work_ + "\\uninstall.nfo"));
  ExpectChunks("screensaver.cfg", {{"SCFP", 259, Field(work_ + "\\VDLStart.vdl")},
                                   {"SCTI", 4, Int(20)},
                                   {"SCQC", 1, std::string(1, '\1')}});
}

// Over an earlier installation: what the earlier list names and is still
// there joins the record, files after this run's, folders after this run's
// in the record (each before its parent); what is gone, or was made again,
// is named once.
TEST_F(RecordFilesTest, EarlierList_EntriesStillThereKeptOnce) {
  for (const char* folder : {"\\old", "\\old\\deep", "\\new"}) CreateDirectoryA((work_ + folder).c_str(), nullptr);
  for (const char* file : {"\\old\\deep\\readme.txt", "\\both.dll"}) {
    ASSERT_TRUE(testing_support::WriteFileBytes(work_ + file, "x", 1));
  }
  std::string earlier = "F " + work_ + "\\old\\deep\\readme.txt\r\nF " + work_ + "\\gone.txt\r\nF " + work_ +
                        "\\both.dll\r\nD " + work_ + "\\old\\\r\nD " + work_ + "\\old\\deep\\\r\n";
  ASSERT_TRUE(testing_support::WriteFileBytes(List(), earlier.data(), earlier.size()));
  installer_->AddCreatedFile(work_ + "\\both.dll");
  installer_->AddCreatedFolder(work_ + "\\new\\");
  ASSERT_TRUE(installer_->WriteRecordFiles(payload::RecordOf(payload::kStandalone), project_.data()));
  ExpectChunks("uninstall.nfo", {{"UNFC", 4, Int(3)},
                                 {"UNFN", 259, Field(work_ + "\\both.dll")},
                                 {"UNFN", 259, Field(work_ + "\\old\\deep\\readme.txt")},
                                 {"UNFN", 259, Field(List())},
                                 {"UNDC", 4, Int(3)},
                                 {"UNDN", 259, Field(work_ + "\\new\\")},
                                 {"UNDN", 259, Field(work_ + "\\old\\deep\\")},
                                 {"UNDN", 259, Field(work_ + "\\old\\")},
                                 {"UNPN", 259, project_}});
  // The list now names what the record names, for the next installation.
  std::string list = testing_support::ReadFileBytes(List());
  EXPECT_NE(std::string::npos, list.find("F " + work_ + "\\old\\deep\\readme.txt\r\n"));
  EXPECT_EQ(std::string::npos, list.find("gone.txt"));
}

// Without its record an installation cannot be uninstalled: a failure,
// noted with the file that could not be written.
TEST_F(RecordFilesTest, NoSaverChannel_FailsNamingTheUninstallRecord) {
  testing_support::ScopedEnvironment refuse("VDL_ENGINE_REFUSE", "saver");
  EXPECT_FALSE(installer_->WriteRecordFiles(payload::RecordOf(payload::kScreenSaver), project_.data()));
  EXPECT_FALSE(testing_support::FileExists(work_ + "\\uninstall.nfo"));
  EXPECT_FALSE(testing_support::FileExists(work_ + "\\screensaver.cfg"));
  EXPECT_EQ(installer::FailureKind::kNoRecord, installer_->LastFailure().what);
  EXPECT_EQ(work_ + "\\uninstall.nfo", testing_support::Utf8(installer_->LastFailure().name));
}

}  // namespace
