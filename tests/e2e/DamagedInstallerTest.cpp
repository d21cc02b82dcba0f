// Installers damaged in transit: cut short at every region, a bit flipped in
// each item. Every case ends in a message, never in a crash, a hang or a
// silent success.
#include <gtest/gtest.h>

#include <algorithm>

#include "payload/PayloadFormat.h"
#include "tests/support/Environment.h"
#include "tests/support/InstallerRun.h"
#include "tests/support/Installers.h"
#include "tests/support/Logs.h"
#include "tests/support/OwnTempFolder.h"
#include "tests/support/Projects.h"
#include "tests/support/TempDir.h"

using testing_support::Arch;
using testing_support::ScopedEnvironment;

namespace {

struct Outcome {
  std::vector<std::string> texts;
  std::vector<std::string> captions;
  bool viewerRan;
};

class DamagedInstallerTest : public testing_support::OwnTempFolderTest {
 public:
  DamagedInstallerTest() {
    payload_ = testing_support::RunInPlaceProject(Arch::kX64);
    std::string stub = testing_support::ReadFileBytes(testing_support::StubPath());
    stubSize_ = stub.size();
    image_ = testing_support::B(testing_support::InstallerImage(stub, payload_));
  }

  Outcome Start(const packager::Bytes& image) {
    DeleteFileA(log_.c_str());
    testing_support::RemoveTree(temp_);
    CreateDirectoryA(temp_.c_str(), nullptr);
    std::string installer = dir_.File("setup.exe");
    EXPECT_TRUE(testing_support::WriteFileBytes(installer, image.data(), image.size()));
    Outcome run;
    for (const testing_support::Box& box : testing_support::RunToEnd(installer)) {
      run.texts.push_back(box.text);
      run.captions.push_back(box.caption);
    }
    run.viewerRan = testing_support::HasLine(log_, "Viewer start");
    return run;
  }

  // Where item i's data begins in the installer.
  size_t DataOffset(size_t item) const {
    size_t directory = payload_.Build(0).size() - 4;
    for (const packager::Item& each : payload_.Items()) directory -= each.data.size();
    size_t offset = stubSize_ + directory;
    for (size_t i = 0; i < item; ++i) offset += payload_.Items()[i].data.size();
    return offset;
  }

  packager::PayloadBuilder payload_;
  packager::Bytes image_;
  size_t stubSize_;
};

const std::vector<std::string> kNotFound = {"Data header not found!", "Can't find project type"};

TEST_F(DamagedInstallerTest, CutShortAnywhereBeforeTheTrailer_NoPayloadFound) {
  size_t last = payload_.Items().size() - 1;
  const struct {
    const char* where;
    size_t length;
  } cuts[] = {
      {"inside the last item", DataOffset(last) + payload_.Items()[last].data.size() / 2},
      {"inside a middle item", DataOffset(last / 2) + payload_.Items()[last / 2].data.size() / 2},
      {"inside the directory", stubSize_ + 100},
      {"inside the marker", stubSize_ + 10},
  };
  for (const auto& cut : cuts) {
    SCOPED_TRACE(cut.where);
    Outcome run = Start(packager::Bytes(image_.begin(), image_.begin() + cut.length));
    EXPECT_EQ(kNotFound, run.texts);
    EXPECT_FALSE(run.viewerRan);
  }
}

TEST_F(DamagedInstallerTest, TrailerMissing_ReportedAsNoPayload) {
  // The items end where the trailer should begin: without it the directory
  // no longer fits the file.
  Outcome cut = Start(packager::Bytes(image_.begin(), image_.end() - 4));
  EXPECT_EQ(kNotFound, cut.texts);
  EXPECT_FALSE(cut.viewerRan);
}

TEST_F(DamagedInstallerTest, BytesAppended_FoundByTheScanAndRun) {
  packager::Bytes longer = image_;
  longer.insert(longer.end(), 3000, 0x5A);
  Outcome appended = Start(longer);
  EXPECT_TRUE(appended.texts.empty());
  EXPECT_TRUE(appended.viewerRan);
}

TEST_F(DamagedInstallerTest, OneBitFlippedInAnyItem_ReportedWithTheItemsNameAndNotRun) {
  for (size_t i = 0; i < payload_.Items().size(); ++i) {
    const packager::Item& item = payload_.Items()[i];
    if (item.data.empty()) continue;
    SCOPED_TRACE(item.name);
    packager::Bytes damaged = image_;
    damaged[DataOffset(i) + item.data.size() / 2] ^= 0x10;
    Outcome run = Start(damaged);
    auto crc = std::find(run.texts.begin(), run.texts.end(), "Crc error corrupt file");
    ASSERT_NE(run.texts.end(), crc);
    EXPECT_EQ(item.name, run.captions[crc - run.texts.begin()]);
    EXPECT_FALSE(run.viewerRan);
  }
}

}  // namespace
