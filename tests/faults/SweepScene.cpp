#include "tests/faults/SweepScene.h"

#include <windows.h>
#include <zlib.h>

#include <stdio.h>

#include <algorithm>

#include "packager/EngineFormat.h"
#include "standins/chunks/ChunkFile.h"
#include "tests/support/Installers.h"
#include "tests/support/Logs.h"
#include "tests/support/Payloads.h"
#include "tests/support/SystemState.h"

namespace sweep {

using testing_support::Arch;
using testing_support::B;
using testing_support::FileExists;
using testing_support::ReadFileBytes;

const char* FlowName(Flow flow) {
  switch (flow) {
    case Flow::kRunInPlace: return "run in place";
    case Flow::kStandalone: return "standalone";
    case Flow::kScreenSaver: return "screen saver";
    case Flow::kPlugin: return "plug-in";
  }
  return "?";
}

const char* KindName(Problem::Kind kind) {
  switch (kind) {
    case Problem::kMissing: return "missing";
    case Problem::kWrong: return "wrong bytes";
    case Problem::kLink: return "link missing";
    case Problem::kLeftover: return "left behind";
    case Problem::kDamaged: return "earlier file damaged";
    case Problem::kUnrecorded: return "not in the uninstall record";
    case Problem::kMadeAndLeft: return "made by the failed run and left";
  }
  return "?";
}

namespace {

constexpr uint32_t kTypes[] = {1, 2, 5, 6};

// The earlier version differs from the newer one in every project file and
// channel, so that a file of either version is told apart.
void MakeEarlier(packager::PayloadBuilder& project, testing_support::ProjectFiles& files) {
  for (const char* name : {"\\channels\\Harbour.vch", "channels\\Sound.dll", "scenes\\Quay.vdl", "Intro.vdl"}) {
    std::string key = name[0] == '\\' ? name + 1 : name;
    files.plain[key] = "earlier " + files.plain[key].substr(0, 1000);
    testing_support::ReplaceItem(project, name, packager::EngineEncode(B(files.plain[key])));
  }
  packager::Bytes cgr = packager::EngineEncode(B("earlier tide music"));
  files.plain[files.cgrName] = testing_support::Str(cgr);
  testing_support::ReplaceItem(project, "music/Tide.cgr", cgr);
}

void ReadTree(const std::string& folder, std::map<std::string, std::string>* files) {
  for (const std::string& name : testing_support::NamesBelow(folder)) {
    std::string path = folder + "\\" + name;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      (*files)[path] = ReadFileBytes(path);
    }
  }
}

void WriteWithFolders(const std::string& path, const std::string& bytes) {
  for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
    CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  }
  testing_support::WriteFileBytes(path, bytes.data(), bytes.size());
}

}  // namespace

Scene::Scene(Flow flow, Arch arch, const std::string& stub) : flow_(flow) {
  uint32_t type = kTypes[static_cast<int>(flow)];
  std::string tag = "Sweep" + std::to_string(GetCurrentProcessId());
  install_ = root_.File("Apps\\Vandrel Tours\\Harbour");
  menu_ = testing_support::ProgramsFolder() + "\\Vdl" + tag;
  player_ = root_.File("Winamp");
  project_ = "Harbour " + tag;
  bool view32 = arch == Arch::kI686;
  scr_ = testing_support::SystemFolder(view32) + "\\" + project_ + ".scr";
  scrNamed_ = testing_support::SystemFolder() + "\\" + project_ + ".scr";
  plugin_ = player_ + "\\Plugins\\vis_" + project_ + ".dll";
  testing_support::InstallSettings settings = testing_support::SettingsOf(type);
  settings.installPath = install_;
  settings.shortcutName = "\\Vdl" + tag + "\\Tour";
  settings.projectName = project_;
  for (bool earlier : {true, false}) {
    testing_support::ProjectFiles files;
    packager::PayloadBuilder project = type == 1 ? testing_support::RunInPlaceProject(arch, &files)
                                                 : testing_support::InstallingProject(arch, settings, &files);
    if (earlier) MakeEarlier(project, files);
    testing_support::WriteInstaller(Installer(earlier), stub, project.Build(static_cast<uint32_t>(
                                                                  testing_support::ReadBytes(stub).size())));
    if (earlier) continue;
    // The run in place is checked by what the viewer saw, by relative path.
    std::string base = type == 1 ? "" : install_ + "\\";
    for (const auto& [path, bytes] : files.plain) expected_[base + path] = bytes;
    expected_[base + "Tessaron.dll"] = ReadFileBytes(testing_support::StandInEnginePath(arch));
  }
  std::string viewer = ReadFileBytes(testing_support::StandInViewerPath(arch));
  std::string uninstaller = ReadFileBytes(testing_support::StandInUninstallerPath(arch));
  if (type == 1) expected_["VandrelViewer.exe"] = viewer;
  if (type == 2) expected_[install_ + "\\VandrelViewer.exe"] = viewer;
  if (type != 1) {
    expected_[install_ + "\\VDLUnInst.exe"] = uninstaller;
    records_.push_back(install_ + "\\uninstall.nfo");
  }
  if (type == 2) links_ = {menu_ + "\\Tour.lnk", menu_ + "\\Tour Uninstall.lnk"};
  if (type == 5) {
    expected_[install_ + "\\VDLSvr.scr"] = expected_[scr_] = testing_support::kScreenSaverModule;
    records_.push_back(install_ + "\\screensaver.cfg");
  }
  if (type == 6) {
    expected_[install_ + "\\WinAmp.dll"] = expected_[plugin_] = testing_support::kPluginModule;
    records_.push_back(install_ + "\\winamp.cfg");
    testing_support::SetClassesRootDefault("Applications\\Winamp.exe\\shell\\open\\command",
                                           "\"" + player_ + "\\winamp.exe\" \"%1\"");
  }
}

Scene::~Scene() {
  testing_support::RemoveTree(menu_);
  if (flow_ == Flow::kPlugin) testing_support::DeleteClassesRootTree("Applications\\Winamp.exe");
  DeleteKeys();
  DeleteFileA(scr_.c_str());
}

void Scene::DeleteKeys() const {
  for (bool view32 : {false, true}) {
    testing_support::DeleteMachineKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vandrel" + project_,
                                      view32);
    testing_support::DeleteMachineKey("SOFTWARE\\Morvane\\Vandrel Viewers\\2.00.000\\" + project_, view32);
  }
}

void Scene::Reset(bool over) {
  testing_support::RemoveTree(root_.File("Apps"));
  testing_support::RemoveTree(root_.File("temp"));
  testing_support::RemoveTree(menu_);
  testing_support::RemoveTree(player_);
  DeleteFileA(scr_.c_str());
  DeleteFileA(CallLog().c_str());
  // Every run starts without an uninstall entry, as the counting run did:
  // one left by an earlier run is read to offer its folder, with calls the
  // counting run did not make, and the sweep would fail other calls than
  // it names.
  DeleteKeys();
  CreateDirectoryA(root_.File("temp").c_str(), nullptr);
  CreateDirectoryA(player_.c_str(), nullptr);
  CreateDirectoryA((player_ + "\\Plugins").c_str(), nullptr);
  if (over) {
    for (const auto& [path, bytes] : earlier_) WriteWithFolders(path, bytes);
  }
  before_ = Present();
}

std::set<std::string> Scene::Present() const {
  std::set<std::string> names;
  for (const std::string& top : {root_.File("Apps"), menu_}) {
    if (FileExists(top)) names.insert(top);
    for (const std::string& name : testing_support::NamesBelow(top)) names.insert(top + "\\" + name);
  }
  for (const std::string& path : {scr_, plugin_}) {
    if (FileExists(path)) names.insert(path);
  }
  return names;
}

void Scene::Remember() {
  earlier_.clear();
  ReadTree(root_.File("Apps"), &earlier_);
  ReadTree(menu_, &earlier_);
  for (const std::string& path : {scr_, plugin_}) {
    if (FileExists(path)) earlier_[path] = ReadFileBytes(path);
  }
}

bool Scene::IsEntryList(const std::string& path) const { return path == install_ + "\\uninstall.lst"; }

// Written whole or not at all: lines "F path" or "D path", each ended.
static bool IsWholeList(const std::string& text) {
  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) return false;
  for (size_t line = 0; line < text.size(); line = text.find("\r\n", line) + 2) {
    if (text.compare(line, 2, "F ") != 0 && text.compare(line, 2, "D ") != 0) return false;
  }
  return true;
}

bool Scene::IsRecord(const std::string& path) const {
  for (const std::string& record : records_) {
    if (record == path) return true;
  }
  return false;
}

std::vector<Problem> Scene::Check(bool success, bool over, bool ended) const {
  std::vector<Problem> problems;
  if (flow_ == Flow::kRunInPlace) {
    CheckRunInPlace(success, &problems);
    return problems;
  }
  if (success) CheckInstalled(&problems);
  if (over) CheckEarlier(&problems);
  if (!success && ended) {
    for (const std::string& name : Present()) {
      if (before_.count(name) == 0) problems.push_back({Problem::kMadeAndLeft, name});
    }
  }
  return problems;
}

void Scene::CheckInstalled(std::vector<Problem>* problems) const {
  for (const auto& [path, bytes] : expected_) {
    if (!FileExists(path)) {
      problems->push_back({Problem::kMissing, path});
    } else if (ReadFileBytes(path) != bytes) {
      problems->push_back({Problem::kWrong, path});
    }
  }
  for (const std::string& record : records_) {
    std::vector<chunks::Chunk> chunks;
    if (!chunks::ReadChunkFileFromPath(record, &chunks) || chunks.empty()) {
      problems->push_back({Problem::kMissing, record});
      continue;
    }
    // Everything the uninstaller is told of must be there for it to remove.
    for (const chunks::Chunk& chunk : chunks) {
      std::string named(chunk.data.begin(), chunk.data.end());
      named = named.substr(0, named.find('\0'));
      if (named == scrNamed_) named = scr_;
      bool link = named.size() > 4 && named.compare(named.size() - 4, 4, ".lnk") == 0;
      if (chunk.tag == "UNFN" && !FileExists(named)) problems->push_back({link ? Problem::kLink : Problem::kMissing, named});
    }
  }
  for (const std::string& link : links_) {
    if (!FileExists(link)) problems->push_back({Problem::kLink, link});
  }
  // A file the uninstaller is not told of stays behind after it.
  if (FileExists(install_ + "\\uninstall.nfo")) {
    for (const std::string& path : Unrecorded()) problems->push_back({Problem::kUnrecorded, path});
  }
}

std::vector<std::string> Scene::Beside() const {
  std::map<std::string, std::string> present;
  ReadTree(install_, &present);
  std::vector<std::string> beside;
  for (const auto& entry : present) {
    // The plain list the installation keeps beside its record is its own.
    if (expected_.count(entry.first) == 0 && !IsRecord(entry.first) && !IsEntryList(entry.first)) {
      beside.push_back(entry.first);
    }
  }
  return beside;
}

std::vector<std::string> Scene::Unrecorded() const {
  std::vector<chunks::Chunk> record;
  chunks::ReadChunkFileFromPath(install_ + "\\uninstall.nfo", &record);
  std::vector<std::string> named;
  for (const chunks::Chunk& chunk : record) {
    std::string path(chunk.data.begin(), chunk.data.end());
    path = path.substr(0, path.find('\0'));
    // As the uninstaller opens it: the system reads '/' as '\\'.
    for (char& c : path) c = c == '/' ? '\\' : c;
    for (size_t twice = path.find("\\\\", 3); twice != std::string::npos; twice = path.find("\\\\", 3)) {
      path.erase(twice, 1);
    }
    if (chunk.tag == "UNFN") named.push_back(path);
  }
  std::vector<std::string> unrecorded;
  for (const auto& entry : expected_) {
    bool inside = entry.first.compare(0, install_.size(), install_) == 0;
    if (inside && std::find(named.begin(), named.end(), entry.first) == named.end()) unrecorded.push_back(entry.first);
  }
  return unrecorded;
}

// A run in place shows no message when it works: the viewer's listing of
// its folder says what it was given, and the temporary folder must be empty
// after it.
void Scene::CheckRunInPlace(bool success, std::vector<Problem>* problems) const {
  if (!success) return;
  for (const auto& [path, bytes] : expected_) {
    char facts[32];
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
    snprintf(facts, sizeof facts, " %zu %08lX", bytes.size(), static_cast<unsigned long>(crc));
    if (!testing_support::HasLine(CallLog(), "Viewer file " + path + facts)) {
      problems->push_back({Problem::kMissing, path});
    }
  }
  std::map<std::string, std::string> left;
  ReadTree(root_.File("temp"), &left);
  for (const auto& entry : left) problems->push_back({Problem::kLeftover, entry.first});
}

void Scene::CheckEarlier(std::vector<Problem>* problems) const {
  for (const auto& [path, before] : earlier_) {
    auto newer = expected_.find(path);
    bool whole = FileExists(path) && (ReadFileBytes(path) == before ||
                                      (newer != expected_.end() && ReadFileBytes(path) == newer->second));
    // Records and links are rewritten whole by each run: readable is whole.
    if (!whole && FileExists(path) && IsRecord(path)) {
      std::vector<chunks::Chunk> chunks;
      whole = chunks::ReadChunkFileFromPath(path, &chunks) && !chunks.empty();
    }
    // So is the list beside the record, whose entries follow what is there.
    if (!whole && FileExists(path) && IsEntryList(path)) whole = IsWholeList(ReadFileBytes(path));
    if (!whole && FileExists(path) && path.size() > 4 && path.compare(path.size() - 4, 4, ".lnk") == 0) {
      whole = !ReadFileBytes(path).empty();
    }
    if (!whole) problems->push_back({Problem::kDamaged, path});
  }
}

}  // namespace sweep
