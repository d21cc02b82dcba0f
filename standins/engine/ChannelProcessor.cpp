#include "standins/engine/ChannelProcessor.h"

#include <windows.h>

#include <stdlib.h>

#include "standins/engine/CallLog.h"
#include "standins/engine/EngineSwitches.h"
#include "standins/engine/LoaderChannel.h"

namespace standin {

void* ENGINE_CALL ChannelProcessor::Destroy(uint32_t /*flags*/) { return this; }

uint8_t ENGINE_CALL ChannelProcessor::Process(engine::LoaderChannel* channel) {
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
