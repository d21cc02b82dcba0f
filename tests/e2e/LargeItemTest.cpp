// A project file of a few hundred megabytes, stored as it is written: it
// arrives whole while the installer's memory stays far below its size, and
// a damaged byte at its very end is still found and leaves no file.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>

#include "tests/support/Environment.h"
#include "tests/support/InstallerRun.h"
#include "tests/support/Installers.h"
#include "tests/support/Logs.h"
#include "tests/support/OwnTempFolder.h"
#include "tests/support/Projects.h"
#include "tests/support/StubDriver.h"
#include "tests/support/TempDir.h"

using testing_support::Arch;
using testing_support::ScopedEnvironment;

namespace {

constexpr size_t kLargeBytes = 300u << 20;
constexpr char kLargeName[] = "scenes\\Harbour.cgr";
constexpr char kEnd[] = "end of the harbour";
// The whole Wine process: its own start-up takes about 20 MiB.
constexpr uint64_t kMemoryBound = 64u << 20;

class LargeItemTest : public testing_support::OwnTempFolderTest {
 protected:
  // Starts the installer image and answers what it shows (boxes_). A run
  // that shows nothing can be watched: its peak memory is returned.
  uint64_t Run(const packager::Bytes& image, bool watchMemory) {
    std::string installer = dir_.File("setup.exe");
    EXPECT_TRUE(testing_support::WriteFileBytes(installer, image.data(), image.size()));
    testing_support::StubDriver driver;
    EXPECT_TRUE(driver.Start(installer));
    uint64_t peak = watchMemory ? driver.WaitForExitWatchingMemory(testing_support::kRunMs) : 0;
    boxes_ = driver.AnswerAllUntilExit(testing_support::kRunMs);
    return peak;
  }

  std::vector<testing_support::DialogSeen> boxes_;
};

TEST_F(LargeItemTest, StoredProjectFileOfHundredsOfMegabytes_WholeInBoundedMemoryAndDamageAtItsEndFound) {
  std::string large(kLargeBytes, '\0');
  for (size_t i = 0; i < large.size(); i += 4096) large[i] = static_cast<char>(i >> 12);
  large.replace(large.size() - sizeof(kEnd) + 1, sizeof(kEnd) - 1, kEnd);
  packager::PayloadBuilder payload = testing_support::RunInPlaceProject(Arch::kX64);
  testing_support::AddProjectFiles(payload, {{kLargeName, packager::Bytes(large.begin(), large.end())}});
  packager::Bytes image = testing_support::ReadBytes(testing_support::StubPath());
  packager::Bytes tail = payload.Build(static_cast<uint32_t>(image.size()));
  image.insert(image.end(), tail.begin(), tail.end());

  uint64_t peak = Run(image, true);
  printf("peak working set %llu KiB\n", static_cast<unsigned long long>(peak >> 10));
  EXPECT_TRUE(boxes_.empty());
  char crc[16];
  snprintf(crc, sizeof(crc), "%08lX", crc32(0, reinterpret_cast<const Bytef*>(large.data()), static_cast<uInt>(large.size())));
  EXPECT_TRUE(testing_support::HasLine(log_, std::string("Viewer file ") + kLargeName + " " + std::to_string(large.size()) + " " + crc));
  EXPECT_GT(peak, 0u) << "the system told no memory figure";
  EXPECT_LT(peak, kMemoryBound);

  // The item's last byte, found by the text it ends with.
  auto end = std::search(image.begin(), image.end(), kEnd, kEnd + sizeof(kEnd) - 1);
  ASSERT_NE(image.end(), end);
  end[sizeof(kEnd) - 2] ^= 0x01;
  Run(image, false);
  ASSERT_FALSE(boxes_.empty());
  EXPECT_EQ("Crc error corrupt file", boxes_[0].text);
  EXPECT_EQ(kLargeName, boxes_[0].caption);
  EXPECT_FALSE(testing_support::FileExists(temp_ + "\\Vandrel0\\" + kLargeName));
}

}  // namespace
