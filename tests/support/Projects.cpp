#include "tests/support/Projects.h"

#include <algorithm>
#include <map>

#include "packager/EngineFormat.h"
#include "payload/EngineFiles.h"
#include "payload/ProjectTypes.h"
#include "tests/support/Installers.h"

namespace testing_support {

namespace {

packager::Bytes B(const std::string& s) { return packager::Bytes(s.begin(), s.end()); }

}  // namespace

std::string StandInViewerPath(Arch arch) { return arch == Arch::kX64 ? VDL_VIEWER_X64 : VDL_VIEWER_I686; }
std::string StandInEnginePath(Arch arch) { return arch == Arch::kX64 ? VDL_ENGINE_X64 : VDL_ENGINE_I686; }
std::string StandInUninstallerPath(Arch arch) {
  return arch == Arch::kX64 ? VDL_UNINSTALLER_X64 : VDL_UNINSTALLER_I686;
}

packager::PayloadBuilder RunInPlaceProject(Arch arch, ProjectFiles* files) {
  ProjectFiles local;
  ProjectFiles& out = files != nullptr ? *files : local;
  packager::PayloadBuilder payload;
  payload.AddU32("ProjectType", 1);
  payload.AddFlag("CheckDx8", 0);
  payload.AddList(packager::ListKind::kChannels, {"\\channels\\Harbour.vch"});
  payload.AddList(packager::ListKind::kChannelModules, {"channels\\Sound.dll"});
  payload.AddList(packager::ListKind::kProjectFiles, {"scenes\\Quay.vdl", "Intro.vdl", "music/Tide.cgr"});
  payload.AddPacked("VandrelViewer.exe", ReadBytes(StandInViewerPath(arch)));
  payload.AddPacked("Tessaron.dll", ReadBytes(StandInEnginePath(arch)));
  for (const payload::EngineFile& file : ::payload::kEngineFiles) {
    // The DLL and the start file are added on their own.
    if (file.decode == 0 || std::string(file.name) == "Tessaron.dll") continue;
    const char* module = file.name;
    std::string text = std::string("module ") + module;
    payload.AddPacked(module, B(text));
    out.plain[module] = text;
  }
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
  out.plain[out.cgrName] = std::string(cgr.begin(), cgr.end());
  // The start file is written as stored, for the viewer to decode.
  packager::Bytes start = packager::EngineEncode(B("start of the harbour tour"));
  out.plain["VDLStart.vdl"] = std::string(start.begin(), start.end());
  payload.AddRaw("VDLStart.vdl", start);
  payload.AddRaw("\\channels\\Harbour.vch", packager::EngineEncode(B(out.plain["channels\\Harbour.vch"])));
  payload.AddRaw("channels\\Sound.dll", packager::EngineEncode(B(out.plain["channels\\Sound.dll"])));
  payload.AddRaw("scenes\\Quay.vdl", packager::EngineEncode(B(out.plain["scenes\\Quay.vdl"])));
  payload.AddRaw("Intro.vdl", packager::EngineEncode(B(out.plain["Intro.vdl"])));
  payload.AddRaw("music/Tide.cgr", cgr);
  return payload;
}

const char kScreenSaverModule[] = "screen saver module of the harbour tour";
const char kPluginModule[] = "winamp plug-in module of the harbour tour";

namespace {

// Every setting the project type reads, in the installer's order, with the
// test's values.
void AddSettings(packager::PayloadBuilder& payload, const InstallSettings& settings) {
  const std::map<std::string, uint8_t> flags = {{::payload::kCheckDx8.name, settings.checkDx8},
                                                {::payload::kRunAfterInstall.name, settings.runAfterInstall},
                                                {::payload::kDoQuitCgr.name, settings.doQuitCgr},
                                                {::payload::kDoSmallPreview.name, settings.doSmallPreview},
                                                {::payload::kWinampVersion.name, settings.winampVersion}};
  const std::map<std::string, std::string> texts = {{::payload::kInstallPath.name, settings.installPath},
                                                    {::payload::kStartupDirectory.name, settings.installPath},
                                                    {::payload::kShortCutName.name, settings.shortcutName},
                                                    {::payload::kProjectName.name, settings.projectName}};
  payload.AddU32(::payload::kProjectTypeSetting.name, settings.projectType);
  const ::payload::ProjectTypeInfo* type = ::payload::FindProjectType(settings.projectType);
  for (uint32_t i = 0; type != nullptr && i < type->settingCount; ++i) {
    std::string name = type->settings[i]->name;
    if (name == ::payload::kRunAfterInstall.name && !settings.withRunAfterInstall) continue;
    if (type->settings[i]->size == ::payload::kTextSettingSize) {
      payload.AddText(name, texts.at(name));
    } else {
      payload.AddFlag(name, flags.at(name));
    }
  }
}

}  // namespace

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

void AddProjectFiles(packager::PayloadBuilder& payload, const std::map<std::string, packager::Bytes>& stored) {
  const std::string prefix = packager::ListEntryPrefix(packager::ListKind::kProjectFiles);
  const std::string type = packager::ListType(packager::ListKind::kProjectFiles);
  std::vector<std::string> names;
  for (int i = 0;; ++i) {
    auto& items = payload.Items();
    auto entry = std::find_if(items.begin(), items.end(), [&](const packager::Item& item) {
      return item.type == type && item.name == prefix + std::to_string(i);
    });
    if (entry == items.end()) break;
    names.push_back(std::string(entry->data.begin(), std::find(entry->data.begin(), entry->data.end(), 0)));
    items.erase(entry);
  }
  RemoveItem(payload, packager::ListCountName(packager::ListKind::kProjectFiles), type);
  for (const auto& [name, data] : stored) {
    names.push_back(name);
    payload.AddRaw(name, data);
  }
  payload.AddList(packager::ListKind::kProjectFiles, names);
}

bool ReplaceItem(packager::PayloadBuilder& payload, const std::string& name, const packager::Bytes& data) {
  for (packager::Item& item : payload.Items()) {
    if (item.name == name) {
      item.data = data;
      return true;
    }
  }
  return false;
}

bool RemoveItem(packager::PayloadBuilder& payload, const std::string& name, const std::string& type) {
  auto& items = payload.Items();
  for (auto it = items.begin(); it != items.end(); ++it) {
    if (it->name == name && it->type == type) {
      items.erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace testing_support
