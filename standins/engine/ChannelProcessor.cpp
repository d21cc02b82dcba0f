#include "standins/engine/ChannelProcessor.h"

#include <windows.h>

#include <stdlib.h>

#include "standins/engine/CallLog.h"
#include "standins/engine/EngineSwitches.h"
#include "standins/engine/LoaderChannel.h"

namespace standin {
namespace {

// How an engine that opens a file while it decodes another (a channel module
// it loads when it likes) finds that file: its size, "absent" or "refused".
std::string PeekedSize(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND ? "absent" : "refused";
  DWORD size = GetFileSize(file, nullptr);
  CloseHandle(file);
  return std::to_string(size);
}

}  // namespace

void* ENGINE_CALL ChannelProcessor::Destroy(uint32_t /*flags*/) { return this; }

uint8_t ENGINE_CALL ChannelProcessor::Process(engine::LoaderChannel* channel) {
  // VDL_ENGINE_PEEK: a file (Windows path) opened for reading at each decode.
  std::string peek = EngineVariable("VDL_ENGINE_PEEK");
  if (!peek.empty()) LogCall("Peek " + PeekedSize(peek));
  // Only this engine's loader channels exist in the process, so the cast
  // reaches the real object.
  bool decoded = channel != nullptr && static_cast<LoaderChannel*>(channel)->Decode();
  LogCall("Process -> " + LogFlag(decoded));
  // VDL_ENGINE_SLOW: milliseconds per decoded file, so that a test can watch
  // an installation in progress.
  std::string slow = EngineVariable("VDL_ENGINE_SLOW");
  if (!slow.empty()) Sleep(static_cast<DWORD>(strtoul(slow.c_str(), nullptr, 10)));
  return decoded ? 1 : 0;
}

}  // namespace standin
