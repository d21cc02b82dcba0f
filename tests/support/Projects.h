#pragma once
// Whole projects as the packager lays them out, built from the stand-ins of
// either Windows build, for the end-to-end tests of the flows.
#include <map>
#include <string>

#include "packager/PayloadBuilder.h"
#include "tests/support/Payloads.h"

namespace testing_support {

enum class Arch { kX64, kI686 };

// The machine whose stub and stand-ins the end-to-end tests run: x86_64, or
// the release machine when VDL_E2E_MACHINE is "i686", so that the whole
// suite runs on the release stub too.
Arch MachineUnderTest();
// kX64, the suite's default, stands for the machine under test.
inline Arch Resolve(Arch arch) { return arch == Arch::kX64 ? MachineUnderTest() : arch; }

std::string StandInViewerPath(Arch arch);
std::string StandInEnginePath(Arch arch);
std::string StandInUninstallerPath(Arch arch);

// The plain (decoded) content of every file a run-in-place project puts
// below its working folder besides the viewer and the engine DLL, by path.
struct ProjectFiles {
  std::map<std::string, std::string> plain;
  std::string cgrName;
};

// ProjectType 1 with CheckDx8 0: viewer, nine engine files, one channel, one
// channel module, two engine-format project files and one ".cgr" file.
packager::PayloadBuilder RunInPlaceProject(Arch arch, ProjectFiles* files = nullptr);

using StandaloneSettings = InstallSettings;

// The bytes of the screen-saver and plug-in modules the projects carry.
extern const char kScreenSaverModule[];
extern const char kPluginModule[];

// The run-in-place project's files, the stand-in uninstaller, the type's
// module and settings.
packager::PayloadBuilder InstallingProject(Arch arch, const InstallSettings& settings, ProjectFiles* files = nullptr);
inline packager::PayloadBuilder StandaloneProject(Arch arch, const InstallSettings& settings,
                                                  ProjectFiles* files = nullptr) {
  return InstallingProject(arch, settings, files);
}

}  // namespace testing_support
