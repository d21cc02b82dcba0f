#include "standins/engine/EngineControl.h"

#include <string.h>

#include <new>

#include "standins/engine/CallLog.h"
#include "standins/engine/ChannelServices.h"
#include "standins/engine/EngineSwitches.h"
#include "standins/engine/EngineWindow.h"

namespace standin {
namespace {

constexpr char kHostWindowClass[] = "VandrelExe Window";
const char* const kChannelUnits[] = {"channels\\LoaderUnit.dll", "channels\\SaverUnit.dll"};

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

EngineControl::~EngineControl() { delete services_; }

void* ENGINE_CALL EngineControl::Destroy(uint32_t flags) {
  LogCall("Destroy control");
  CloseEngineWindow(window_);
  window_ = nullptr;
  delete services_;
  services_ = nullptr;
  if (flags & engine::kDeleteSelf) {
    delete this;
    return nullptr;
  }
  return this;
}

uint8_t ENGINE_CALL EngineControl::SetBaseDirectory(const char* path) {
  LogCall("SetBaseDirectory " + LogText(path));
  if (path == nullptr) return 0;
  baseDirectory_ = path;
  haveBaseDirectory_ = true;
  return 1;
}

bool EngineControl::ChannelUnitsPresent() const {
  if (!haveBaseDirectory_) return false;
  std::string folder = baseDirectory_;
  // The last character, not the last byte: on a double-byte system the
  // second byte of a letter may be the byte of '\\'.
  const char* last = nullptr;
  for (const char* p = folder.c_str(); *p != '\0'; p = CharNextA(p)) last = p;
  if (last != nullptr && *last != '\\' && *last != '/') folder += '\\';
  for (const char* unit : kChannelUnits) {
    if (!FileExists(folder + unit)) return false;
  }
  return true;
}

uint8_t ENGINE_CALL EngineControl::Initialise(HINSTANCE /*instance*/, const char* windowClass, HWND window) {
  LogCall("Initialise " + LogText(windowClass) + " window=" + LogFlag(window != nullptr));
  if (windowClass == nullptr || strcmp(windowClass, kHostWindowClass) != 0) return 0;
  if (window == nullptr || !ChannelUnitsPresent()) return 0;
  if (EngineSwitchSet("VDL_ENGINE_FAIL", "initialise")) return 0;
  if (window_ == nullptr) window_ = OpenEngineWindow();
  return 1;
}

engine::ChannelServices* ENGINE_CALL EngineControl::GetChannelServices() {
  LogCall("GetChannelServices");
  if (services_ == nullptr) services_ = new (std::nothrow) ChannelServices();
  return services_;
}

}  // namespace standin
