// Loading the stand-in engine from the working folder, and releasing it.
#include <gtest/gtest.h>

#include "tests/support/Logs.h"
#include "tests/win/InstallerFixture.h"

using testing_support::EngineLog;
using testing_support::ScopedEnvironment;
using testing_support::TestInstaller;

namespace {

class EngineStartupTest : public InstallerFixture {
 protected:
  void SetUp() override { Make(packager::PayloadBuilder()); }
};

TEST_F(EngineStartupTest, Success_CallsInOrderAndServicesKept) {
  ASSERT_TRUE(testing_support::PlaceEngine(work_));
  EngineLog log(dir_.Path());
  ASSERT_TRUE(installer_->StartEngine());
  EXPECT_NE(nullptr, installer_->EngineModule());
  EXPECT_NE(nullptr, installer_->Control());
  ASSERT_NE(nullptr, installer_->Services());
  EXPECT_NE(nullptr, installer_->Services()->processor);
  EXPECT_EQ((std::vector<std::string>{"GetEngineControlInstance", "SetBaseDirectory " + work_,
                                      "Initialise VandrelExe Window window=1", "GetChannelServices"}),
            log.Lines());
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(EngineStartupTest, Release_LoaderThenControlThenLibrary) {
  ASSERT_TRUE(testing_support::PlaceEngine(work_));
  EngineLog log(dir_.Path());
  ASSERT_TRUE(installer_->StartEngine());
  ASSERT_TRUE(installer_->CreateLoaderChannel());
  installer_->ReleaseEngine();
  std::vector<std::string> lines = log.Lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ((std::vector<std::string>{"Destroy loader", "Destroy control", "DllDetach"}),
            std::vector<std::string>(lines.end() - 3, lines.end()));
  EXPECT_EQ(nullptr, installer_->Loader());
  EXPECT_EQ(nullptr, installer_->Control());
  EXPECT_EQ(nullptr, installer_->EngineModule());
}

TEST_F(EngineStartupTest, NoLibrary_FalseAndNoModule) {
  EXPECT_FALSE(installer_->StartEngine());
  EXPECT_EQ(nullptr, installer_->EngineModule());
}

TEST_F(EngineStartupTest, LibraryWithoutTheExport_FalseWithModuleKept) {
  char system[MAX_PATH];
  GetSystemDirectoryA(system, sizeof(system));
  ASSERT_TRUE(CopyFileA((std::string(system) + "\\version.dll").c_str(), (work_ + "\\tessaron.dll").c_str(), FALSE));
  EXPECT_FALSE(installer_->StartEngine());
  EXPECT_NE(nullptr, installer_->EngineModule());
  EXPECT_EQ(nullptr, installer_->Control());
}

TEST_F(EngineStartupTest, NoControlObject_FalseWithModuleKept) {
  ASSERT_TRUE(testing_support::PlaceEngine(work_));
  ScopedEnvironment fail("VDL_ENGINE_FAIL", "control");
  EXPECT_FALSE(installer_->StartEngine());
  EXPECT_NE(nullptr, installer_->EngineModule());
  EXPECT_EQ(nullptr, installer_->Control());
}

TEST_F(EngineStartupTest, InitialiseRefuses_ControlKeptServicesNeverAsked) {
  ASSERT_TRUE(testing_support::PlaceEngine(work_));
  // The engine refuses on its own, without its channel modules, and when told.
  DeleteFileA((work_ + "\\channels\\SaverUnit.dll").c_str());
  for (bool told : {false, true}) {
    if (told) testing_support::WriteFileBytes(work_ + "\\channels\\SaverUnit.dll", "S", 1);
    ScopedEnvironment fail("VDL_ENGINE_FAIL", told ? "initialise" : "");
    TestInstaller installer(dir_.File("payload.exe"));
    installer.SetWorkFolder(work_);
    EngineLog log(dir_.Path());
    EXPECT_FALSE(installer.StartEngine()) << told;
    EXPECT_NE(nullptr, installer.Control());
    EXPECT_EQ(nullptr, installer.Services());
    EXPECT_TRUE(log.LinesStartingWith("GetChannelServices").empty());
  }
}

TEST_F(EngineStartupTest, EnginePathTooLong_RefusedBeforeLoading) {
  // 247 characters of folder and "\tessaron.dll" come to 260: one too many.
  std::string folder = work_ + "\\" + std::string(246 - work_.size(), 'w');
  ASSERT_EQ(247u, folder.size());
  installer_->SetWorkFolder(folder);
  EXPECT_FALSE(installer_->StartEngine());
  EXPECT_EQ(nullptr, installer_->EngineModule());
}

}  // namespace
