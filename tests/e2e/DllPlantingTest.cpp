// DLLs left beside the installer under the names of system libraries are
// never loaded, in any flow, however late the system asks for them.
#include <gtest/gtest.h>

#include "tests/e2e/StandaloneFixture.h"

using namespace standalone_e2e;
using testing_support::FileExists;

namespace {

// Libraries loaded while the stub runs, not at its start: the DirectX
// components of the probe and libraries the shell and COM bring in late.
// (Those the system loads at start are known DLLs on Windows, taken from the
// system folder whatever lies beside the program. msimg32.dll is left out:
// Wine resolves the imports of the side-by-side common controls from the
// program's folder whatever the search order says, which Windows does not.)
const char* const kPlantedNames[] = {"ddraw.dll", "dinput.dll", "d3d8.dll",   "d3d9.dll",  "dpnhpast.dll",
                                     "dmusic.dll", "uxtheme.dll", "dwmapi.dll", "propsys.dll"};

class DllPlantingTest : public StandaloneTest {
 public:
  DllPlantingTest()
      : planted_(dir_.File("planted.log")),
        plantedLog_("VDL_PLANTED_LOG", planted_.c_str()),
        nativeFirst_("setup.exe", Names(), "native,builtin") {
    for (const char* name : kPlantedNames) {
      CopyFileA(VDL_PLANTED_DLL, dir_.File(name).c_str(), FALSE);
    }
  }

  // Wine takes its own build of a system library before any other unless
  // told otherwise; told to prefer other builds, it loads what lies beside
  // the program as Windows would.
  static std::string Names() {
    std::string names;
    for (const char* name : kPlantedNames) names += std::string(name, strlen(name) - 4) + ";";
    return names;
  }

  std::string planted_;
  ScopedEnvironment plantedLog_;
  testing_support::ScopedDllOverride nativeFirst_;
};

TEST_F(DllPlantingTest, StandaloneWithProbeAndBrowser_NoPlantedDllLoaded) {
  settings_.checkDx8 = 1;
  settings_.runAfterInstall = 1;
  DialogSeen options = Start();
  ASSERT_NE(nullptr, options.window);
  // The folder browser brings in shell and COM libraries of its own.
  PostMessageA(options.window, WM_COMMAND, MAKEWPARAM(kBrowse, BN_CLICKED), 0);
  DialogSeen browser = driver_.WaitForFolderBrowser(kRunMs);
  ASSERT_NE(nullptr, browser.window);
  EXPECT_TRUE(driver_.PressUntilGone(browser.window, IDCANCEL));
  InstallToEnd(options.window);
  EXPECT_TRUE(FileExists(Install() + "\\uninstall.nfo"));
  EXPECT_EQ("", testing_support::ReadFileBytes(planted_));
}

TEST_F(DllPlantingTest, PlantedDllIsLoadableWhereNothingProtects_TheTestCanSeeIt) {
  // The planted DLL does report itself when a program does load it.
  HMODULE module = LoadLibraryA(VDL_PLANTED_DLL);
  ASSERT_NE(nullptr, module);
  FreeLibrary(module);
  EXPECT_NE(std::string::npos, testing_support::ReadFileBytes(planted_).find("planted"));
}

}  // namespace
