#include "tests/support/TestInstaller.h"

#include <windows.h>

#include "platform/Text.h"
#include "platform/WindowNames.h"
#include "tests/support/TempDir.h"

namespace testing_support {

TestInstaller::TestInstaller(const std::string& payloadFile) {
  delete reader;
  reader = new payload::PayloadReader(payloadFile.c_str());
  SetHost(GetModuleHandleA(nullptr), HostWindow());
}

void TestInstaller::SetWorkFolder(const std::string& folder) {
  text::CopyAtMost(workFolder, folder.c_str(), sizeof(workFolder) - 1);
}

bool TestInstaller::CreateLoaderChannel() {
  if (channelServices == nullptr) return false;
  loaderChannel = static_cast<engine::LoaderChannel*>(channelServices->CreateChannel(engine::kLoaderChannelId, 0, 0));
  return loaderChannel != nullptr;
}

static std::vector<std::string> Texts(const payload::PointerList& list) {
  std::vector<std::string> texts;
  for (int32_t i = 0; i < list.Count(); ++i) texts.push_back(static_cast<const char*>(list.Get(i)));
  return texts;
}

std::vector<std::string> TestInstaller::Files() const { return Texts(createdFiles); }
std::vector<std::string> TestInstaller::Folders() const { return Texts(createdFolders); }

HWND HostWindow() {
  static HWND window = [] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = names::kMainWindowClass;
    RegisterClassA(&windowClass);
    return CreateWindowA(names::kMainWindowClass, names::kMainWindowTitle, WS_OVERLAPPEDWINDOW, 0, 0, 25, 25,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }();
  return window;
}

bool WritePayloadFile(const std::string& path, const packager::PayloadBuilder& payload) {
  packager::Bytes image(512, 0);
  image[0] = 'M';
  image[1] = 'Z';
  packager::Bytes tail = payload.Build(static_cast<uint32_t>(image.size()));
  image.insert(image.end(), tail.begin(), tail.end());
  return WriteFileBytes(path, image.data(), image.size());
}

std::string EngineDllPath() { return VDL_ENGINE_DLL; }

bool PlaceEngine(const std::string& folder) {
  CreateDirectoryA((folder + "\\channels").c_str(), nullptr);
  return CopyFileA(EngineDllPath().c_str(), (folder + "\\tessaron.dll").c_str(), FALSE) &&
         WriteFileBytes(folder + "\\channels\\LoaderUnit.dll", "L", 1) &&
         WriteFileBytes(folder + "\\channels\\SaverUnit.dll", "S", 1);
}

EngineLog::EngineLog(const std::string& folder)
    : path_(folder + "\\engine.log"), variable_("VDL_ENGINE_LOG", path_.c_str()) {}

std::vector<std::string> EngineLog::Lines() const {
  std::vector<std::string> lines;
  std::string text = ReadFileBytes(path_);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> EngineLog::LinesStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& line : Lines()) {
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  }
  return found;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
  char old[4096];
  DWORD length = GetEnvironmentVariableA(name, old, sizeof(old));
  hadOld_ = length > 0 && length < sizeof(old);
  if (hadOld_) old_ = old;
  SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment() { SetEnvironmentVariableA(name_.c_str(), hadOld_ ? old_.c_str() : nullptr); }

}  // namespace testing_support

namespace testing_support {

ScopedDllOverride::ScopedDllOverride(const std::string& program, const std::string& dlls, const std::string& order)
    : key_("Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides") {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != 0) {
    return;
  }
  size_t start = 0;
  while (start <= dlls.size()) {
    size_t end = dlls.find(';', start);
    if (end == std::string::npos) end = dlls.size();
    std::string dll = dlls.substr(start, end - start);
    if (!dll.empty()) {
      RegSetValueExA(key, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order.c_str()),
                     static_cast<DWORD>(order.size() + 1));
    }
    start = end + 1;
  }
  RegCloseKey(key);
}

ScopedDllOverride::~ScopedDllOverride() { RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }

}  // namespace testing_support
