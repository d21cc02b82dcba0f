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

// The settings of an installing project (types 2, 5 and 6); each type
// stores those it reads.
struct InstallSettings {
  uint32_t projectType = 2;
  std::string installPath;  // StartupDirectory for type 6
  std::string shortcutName;
  std::string projectName;
  uint8_t checkDx8 = 0;
  uint8_t runAfterInstall = 0;
  bool withRunAfterInstall = true;
  uint8_t doQuitCgr = 0;
  uint8_t doSmallPreview = 0;
  uint8_t winampVersion = 0;
};
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

// Lists more project files after those the payload lists, each stored as
// given (names with ".cgr" are written as stored, the others decoded).
void AddProjectFiles(packager::PayloadBuilder& payload, const std::map<std::string, packager::Bytes>& stored);

// Replaces the data of the named item; false when there is none.
bool ReplaceItem(packager::PayloadBuilder& payload, const std::string& name, const packager::Bytes& data);
bool RemoveItem(packager::PayloadBuilder& payload, const std::string& name, const std::string& type = "APPDATA");

}  // namespace testing_support
