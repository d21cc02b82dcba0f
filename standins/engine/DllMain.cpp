// The DLL's entry points: the one export and the loader's notifications.
#include <windows.h>

#include <new>

#include "engine/EngineInterface.h"
#include "standins/engine/CallLog.h"
#include "standins/engine/EngineControl.h"
#include "standins/engine/EngineSwitches.h"

extern "C" engine::EngineControl* GetEngineControlInstance() {
  standin::LogCall("GetEngineControlInstance");
  if (standin::EngineSwitchSet("VDL_ENGINE_FAIL", "control")) return nullptr;
  return new (std::nothrow) standin::EngineControl();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_DETACH) standin::LogCall("DllDetach");
  return TRUE;
}
