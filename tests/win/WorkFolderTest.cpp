// The run-in-place working folder below the temporary folder.
#include <gtest/gtest.h>

#include "tests/support/Environment.h"
#include "tests/support/ExpectedMessages.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestInstaller.h"

using testing_support::ScopedEnvironment;

namespace {

class WorkFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing_support::WritePayloadFile(dir_.File("payload.exe"), packager::PayloadBuilder()));
    temp_ = dir_.File("temp");
    CreateDirectoryA(temp_.c_str(), nullptr);
  }

  // A working folder chosen with temp as the temporary folder.
  bool Choose(const std::string& temp, std::string* chosen) {
    ScopedEnvironment tmp("TMP", temp.c_str());
    ScopedEnvironment tempVariable("TEMP", temp.c_str());
    testing_support::TestInstaller installer(dir_.File("payload.exe"));
    // What the installer's own reader said of the test program is not ours.
    messages_.Clear();
    bool ok = installer.CreateTempWorkDir();
    // Told as a run tells it: once, when the step has failed.
    if (!ok) installer.ReportFailure();
    *chosen = installer.WorkFolder();
    return ok;
  }

  static bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  testing_support::MessageRecorder messages_;
  testing_support::TempDir dir_;
  std::string temp_;
};

TEST_F(WorkFolderTest, NothingThere_FirstNumberCreated) {
  std::string chosen;
  ASSERT_TRUE(Choose(temp_, &chosen));
  EXPECT_EQ(temp_ + "\\Vandrel0", chosen);
  EXPECT_TRUE(IsFolder(chosen));
}

TEST_F(WorkFolderTest, ExistingFolders_PassedOverWithOrWithoutEngine) {
  CreateDirectoryA((temp_ + "\\Vandrel0").c_str(), nullptr);
  ASSERT_TRUE(testing_support::WriteFileBytes(temp_ + "\\Vandrel0\\tessaron.dll", "x", 1));
  CreateDirectoryA((temp_ + "\\Vandrel1").c_str(), nullptr);
  ASSERT_TRUE(testing_support::WriteFileBytes(temp_ + "\\Vandrel1\\other.txt", "x", 1));
  std::string chosen;
  ASSERT_TRUE(Choose(temp_, &chosen));
  EXPECT_EQ(temp_ + "\\Vandrel2", chosen);
  // The folders of other runs are left as they were.
  EXPECT_TRUE(testing_support::FileExists(temp_ + "\\Vandrel1\\other.txt"));
}

TEST_F(WorkFolderTest, TwoRunsAtOnce_GetFoldersOfTheirOwn) {
  std::string first, second;
  ASSERT_TRUE(Choose(temp_, &first));
  ASSERT_TRUE(Choose(temp_, &second));
  EXPECT_NE(first, second);
}


TEST_F(WorkFolderTest, TemporaryFolderThatCannotTakeFolders_FalseAtOnceNamingItAndTheReason) {
  std::string chosen;
  EXPECT_FALSE(Choose(dir_.File("missing\\temp"), &chosen));
  EXPECT_EQ("", chosen);
  EXPECT_FALSE(IsFolder(dir_.File("missing")));
  ASSERT_EQ(1u, messages_.Messages().size());
  EXPECT_EQ("Unable to create a working folder in the temporary folder\n" + dir_.File("missing\\temp\\") + "\n\n" +
                testing_support::SystemReason(ERROR_PATH_NOT_FOUND),
            messages_.Messages()[0].text);
  EXPECT_EQ("Error", messages_.Messages()[0].caption);
}

TEST_F(WorkFolderTest, TemporaryPathTooLong_RefusedNotCut) {
  // Each component short enough for the file system; the whole too long for
  // the working folder with "Vandrel" and a number.
  std::string longTemp = temp_;
  while (longTemp.size() < 395) longTemp += "\\" + std::string(20, 'd');
  std::string chosen;
  EXPECT_FALSE(Choose(longTemp, &chosen));
  EXPECT_EQ("", chosen);
  ASSERT_EQ(1u, messages_.Messages().size());
  EXPECT_NE(std::string::npos, messages_.Messages()[0].text.find(testing_support::SystemReason(ERROR_FILENAME_EXCED_RANGE)));
}

}  // namespace
