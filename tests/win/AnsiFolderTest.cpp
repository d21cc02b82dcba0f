// Folders named outside the ANSI code page, as a user's name puts them there.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/AnsiFolder.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"

namespace {

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                                  static_cast<int>(wide.size())));
  return wide;
}

class AnsiFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BOOL lossy = FALSE;
    char probe[16];
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, kName, -1, probe, sizeof(probe), nullptr, &lossy);
    if (!lossy) GTEST_SKIP() << "the ANSI code page holds Cyrillic letters";
  }

  static constexpr const wchar_t* kName = L"\\Временная";
  testing_support::MessageRecorder messages_;
  testing_support::TempDir dir_;
};

TEST_F(AnsiFolderTest, TextTheCodePageHolds_Unchanged) {
  char ansi[MAX_PATH];
  ASSERT_TRUE(platform::AnsiFolder(Wide(dir_.Path()).c_str(), ansi, sizeof(ansi)));
  EXPECT_EQ(dir_.Path(), ansi);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(AnsiFolderTest, CyrillicFolder_ShortNameThatReachesIt) {
  std::wstring folder = Wide(dir_.Path()) + kName;
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  char ansi[MAX_PATH];
  ASSERT_TRUE(platform::AnsiFolder(folder.c_str(), ansi, sizeof(ansi)));
  EXPECT_EQ(std::string::npos, std::string(ansi).find('?')) << ansi;
  // A file made through the ANSI name is in the real folder.
  std::string file = std::string(ansi) + "\\probe.txt";
  ASSERT_TRUE(testing_support::WriteFileBytes(file, "x", 1));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder + L"\\probe.txt").c_str()));
  EXPECT_TRUE(messages_.Messages().empty());
  DeleteFileA(file.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST_F(AnsiFolderTest, CyrillicFolderThatIsNotThere_FalseAndMessageNamesIt) {
  std::wstring folder = Wide(dir_.Path()) + kName;
  char ansi[MAX_PATH];
  EXPECT_FALSE(platform::AnsiFolder(folder.c_str(), ansi, sizeof(ansi)));
  ASSERT_EQ(1u, messages_.Messages().size());
  EXPECT_EQ("Error", messages_.Messages()[0].caption);
  // The recorder sees the text in UTF-8: the folder's own letters.
  EXPECT_NE(std::string::npos, messages_.Messages()[0].text.find("\\\xD0\x92\xD1\x80\xD0\xB5\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xBD\xD0\xB0\xD1\x8F"))
      << messages_.Messages()[0].text;
}

}  // namespace
