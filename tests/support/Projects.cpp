#include "tests/support/Projects.h"

#include <windows.h>

#include "packager/EngineFormat.h"
#include "payload/ProjectTypes.h"
#include "tests/support/Installers.h"

namespace testing_support {

Arch MachineUnderTest() {
  char machine[8];
  DWORD length = GetEnvironmentVariableA("VDL_E2E_MACHINE", machine, sizeof machine);
  return length > 0 && length < sizeof machine && std::string(machine) == "i686" ? Arch::kI686 : Arch::kX64;
}

std::string StandInViewerPath(Arch arch) { return Resolve(arch) == Arch::kX64 ? VDL_VIEWER_X64 : VDL_VIEWER_I686; }
std::string StandInEnginePath(Arch arch) { return Resolve(arch) == Arch::kX64 ? VDL_ENGINE_X64 : VDL_ENGINE_I686; }
std::string StandInUninstallerPath(Arch arch) {
  return Resolve(arch) == Arch::kX64 ? VDL_UNINSTALLER_X64 : VDL_UNINSTALLER_I686;
}

packager::PayloadBuilder RunInPlaceProject(Arch arch, ProjectFiles* files) {
  ProjectFiles local;
  ProjectFiles& out = files != nullptr ? *files : local;
  packager::PayloadBuilder payload;
  AddSettings(payload, SettingsOf(1));
  payload.AddList(packager::ListKind::kChannels, {"\\channels\\Harbour.vch"});
  payload.AddList(packager::ListKind::kChannelModules, {"channels\\Sound.dll"});
  payload.AddList(packager::ListKind::kProjectFiles, {"scenes\\Quay.vdl", "Intro.vdl", "music/Tide.cgr"});
  payload.AddPacked("VandrelViewer.exe", ReadBytes(StandInViewerPath(arch)));
  // The start file is written as stored, for the viewer to decode.
  packager::Bytes start = packager::EngineEncode(B("start of the harbour tour"));
  out.plain["VDLStart.vdl"] = Str(start);
  AddEngineFiles(payload, [&](const char* module) {
    if (std::string(module) == "Tessaron.dll") return ReadBytes(StandInEnginePath(arch));
    out.plain[module] = std::string("module ") + module;
    return B(out.plain[module]);
  }, start);
  out.plain["channels\\Harbour.vch"] = "harbour channel";
  out.plain["channels\\Sound.dll"] = "sound channel module";
  // A scene of a few hundred kilobytes, as real ones are.
  std::string quay;
  for (int frame = 0; quay.size() < (300u << 10); ++frame) quay += "the quay at dawn, frame " + std::to_string(frame) + "\r\n";
  out.plain["scenes\\Quay.vdl"] = quay;
  out.plain["Intro.vdl"] = "introduction";
  out.cgrName = "music\\Tide.cgr";
  // Stored in the engine's format, but written as it is stored.
  packager::Bytes cgr = packager::EngineEncode(B("tide music"));
  out.plain[out.cgrName] = Str(cgr);
  payload.AddRaw("\\channels\\Harbour.vch", packager::EngineEncode(B(out.plain["channels\\Harbour.vch"])));
  payload.AddRaw("channels\\Sound.dll", packager::EngineEncode(B(out.plain["channels\\Sound.dll"])));
  payload.AddRaw("scenes\\Quay.vdl", packager::EngineEncode(B(out.plain["scenes\\Quay.vdl"])));
  payload.AddRaw("Intro.vdl", packager::EngineEncode(B(out.plain["Intro.vdl"])));
  payload.AddRaw("music/Tide.cgr", cgr);
  return payload;
}

const char kScreenSaverModule[] = "screen saver module of the harbour tour";
const char kPluginModule[] = "winamp plug-in module of the harbour tour";

packager::PayloadBuilder InstallingProject(Arch arch, const InstallSettings& settings, ProjectFiles* files) {
  packager::PayloadBuilder project = RunInPlaceProject(arch, files);
  packager::PayloadBuilder payload;
  AddSettings(payload, settings);
  payload.AddPacked("VDLUnInst.exe", ReadBytes(StandInUninstallerPath(arch)));
  if (settings.projectType == 5) payload.AddPacked("VDLSvr.scr", B(kScreenSaverModule));
  if (settings.projectType == 6) payload.AddPacked("WinAmp.dll", B(kPluginModule));
  // Everything else as the run-in-place project has it.
  for (packager::Item& item : project.Items()) {
    if (item.name != ::payload::kProjectTypeSetting.name && item.name != ::payload::kCheckDx8.name) {
      payload.Items().push_back(item);
    }
  }
  return payload;
}

}  // namespace testing_support
