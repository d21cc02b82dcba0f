#pragma once
// Whole projects as the packager lays them out, built from the stand-ins of
// either Windows build, for the end-to-end tests of the flows.
#include <map>
#include <string>

#include "packager/PayloadBuilder.h"

namespace testing_support {

enum class Arch { kX64, kI686 };

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

struct StandaloneSettings {
  std::string installPath;
  std::string shortcutName;
  std::string projectName;
  uint8_t checkDx8 = 0;
  uint8_t runAfterInstall = 0;
};

// ProjectType 2: the run-in-place project's files, the stand-in uninstaller
// and the settings of an installation.
packager::PayloadBuilder StandaloneProject(Arch arch, const StandaloneSettings& settings,
                                           ProjectFiles* files = nullptr);

// Replaces the data of the named item; false when there is none.
bool ReplaceItem(packager::PayloadBuilder& payload, const std::string& name, const packager::Bytes& data);
bool RemoveItem(packager::PayloadBuilder& payload, const std::string& name, const std::string& type = "APPDATA");

}  // namespace testing_support
