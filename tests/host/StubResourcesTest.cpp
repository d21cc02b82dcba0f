// The built stubs' own resources, read back from the executables: the
// dialog templates go by the names the installer's documents give them,
// which tools that translate or restyle an installer look them up by.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/host/PeLayout.h"
#include "tests/support/TempDir.h"

namespace {

TEST(StubResources, EveryStub_DialogTemplatesNamedNotNumbered) {
  for (const char* folder : {VDL_STUBS_X64, VDL_STUBS_I686}) {
    for (const char* name : {"VandrelStub.exe", "VandrelStubAdmin.exe"}) {
      std::string path = std::string(folder) + "/" + name;
      if (!testing_support::FileExists(path)) GTEST_SKIP() << "no Windows build: " << path;
      testing_support::PeLayout layout = testing_support::ReadPeLayout(testing_support::ReadFileBytes(path));
      std::set<std::string> dialogs;
      for (const testing_support::PeResourceLeaf& leaf : layout.resources) {
        if (leaf.type == 5) dialogs.insert(leaf.name);
      }
      EXPECT_EQ((std::set<std::string>{"IDD_ISNTALLDIALOG", "IDD_EULA", "IDD_PROGRESSBAR"}), dialogs) << path;
    }
  }
}

}  // namespace
