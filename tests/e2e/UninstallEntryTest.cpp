// The entry of an installation in Windows' list of programs, as the list
// and the package tools read it: where it is, how large, since when, what
// can be done with it and where to read of it; a reinstallation brings it
// up to date.
#include <windows.h>

#include "packager/EngineFormat.h"
#include "tests/e2e/StandaloneFixture.h"

namespace standalone_e2e {
namespace {

using testing_support::MachineNumber;
using testing_support::MachineString;

// The bytes of every file below the folder, as Windows reports them.
uint64_t BytesBelow(const std::string& folder) {
  uint64_t total = 0;
  for (const std::string& name : testing_support::NamesBelow(folder)) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA((folder + "\\" + name).c_str(), GetFileExInfoStandard, &data)) continue;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    total += (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  return total;
}

std::string Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char date[16];
  snprintf(date, sizeof(date), "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  return date;
}

class UninstallEntryTest : public StandaloneTest {
 protected:
  void Carry(const std::string& version, size_t extraBytes) {
    alterProject_ = [version, extraBytes](packager::PayloadBuilder& project) {
      ASSERT_TRUE(project.AddText("DisplayVersion", version));
      ASSERT_TRUE(project.AddText("Publisher", "Vandrel Tours"));
      ASSERT_TRUE(project.AddText("URLInfoAbout", "https://tours.example/harbour"));
      ASSERT_TRUE(project.AddText("HelpLink", "https://tours.example/help"));
      if (extraBytes != 0) {
        testing_support::AddProjectFiles(project,
                                         {{"scenes\\extra.vdl", packager::EngineEncode(packager::Bytes(extraBytes, 'x'))}});
      }
    };
  }

  void ExpectEntry(const std::string& folder, const std::string& version, const std::string& date) {
    std::string key = kUninstallKey + settings_.projectName;
    EXPECT_EQ(folder, MachineString(key, "InstallLocation", view32_));
    uint64_t bytes = BytesBelow(folder);
    EXPECT_GT(bytes, 0u);
    EXPECT_EQ(static_cast<int64_t>((bytes + 1023) / 1024), MachineNumber(key, "EstimatedSize", view32_)) << bytes;
    EXPECT_EQ(date, MachineString(key, "InstallDate", view32_));
    EXPECT_EQ(1, MachineNumber(key, "NoModify", view32_));
    EXPECT_EQ(1, MachineNumber(key, "NoRepair", view32_));
    EXPECT_EQ(version, MachineString(key, "DisplayVersion", view32_));
  }
};

TEST_F(UninstallEntryTest, InstalledThenReinstalled_EveryValueAndItsUpdate) {
  std::string folder = dir_.File("Program Files\\Harbour Tour");
  Carry("2.4.1", 0);
  std::string before = Today();
  ASSERT_EQ(0u, RunSilently("/S /D=" + folder));
  std::string key = kUninstallKey + settings_.projectName;
  std::string after = Today();
  ExpectEntry(folder, "2.4.1", after);
  EXPECT_EQ(before, after) << "the day turned during the run; run the test again";
  EXPECT_EQ("https://tours.example/harbour", MachineString(key, "URLInfoAbout", view32_));
  EXPECT_EQ("https://tours.example/help", MachineString(key, "HelpLink", view32_));
  int64_t first = MachineNumber(key, "EstimatedSize", view32_);

  // A newer version with a larger file: the size and version follow.
  Carry("2.5.0", 300000);
  ASSERT_EQ(0u, RunSilently("/S /D=" + folder));
  ExpectEntry(folder, "2.5.0", Today());
  EXPECT_GE(MachineNumber(key, "EstimatedSize", view32_), first + 290);
}

}  // namespace
}  // namespace standalone_e2e
