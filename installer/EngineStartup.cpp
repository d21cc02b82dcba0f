// Loading the engine DLL from the working folder and releasing it again.
#include "installer/Installer.h"
#include "platform/DllSearch.h"
#include "platform/Text.h"
#include "platform/WindowThread.h"
#include "payload/WindowNames.h"

namespace installer {

// Nothing is released on failure: the flow stops and the process ends.
bool Installer::StartEngine() {
  char path[kPathSize];
  if (!text::Join(path, sizeof(path), workFolder, "\\tessaron.dll")) return false;
  engineModule = platform::LoadEngineLibrary(path, workFolder);
  if (engineModule == nullptr) return false;
  auto getInstance = reinterpret_cast<engine::GetEngineControlInstanceFn>(
      reinterpret_cast<void*>(GetProcAddress(engineModule, engine::kEngineExportName)));
  if (getInstance == nullptr) return false;
  engineControl = getInstance();
  if (engineControl == nullptr) return false;
  engineControl->SetBaseDirectory(workFolder);
  // A window made beside the run is waited for here, where it is first needed.
  if (parentWindow == nullptr) parentWindow = platform::WindowFromThread();
  if (engineControl->Initialise(instance, names::kMainWindowClass, parentWindow) == 0) return false;
  channelServices = engineControl->GetChannelServices();
  return true;
}

void Installer::ReleaseEngine() {
  if (loaderChannel != nullptr) loaderChannel->Destroy(engine::kDeleteSelf);
  loaderChannel = nullptr;
  if (engineControl != nullptr) engineControl->Destroy(engine::kDeleteSelf);
  engineControl = nullptr;
  // The services belong to the control object, which has just gone.
  channelServices = nullptr;
  if (engineModule != nullptr) FreeLibrary(engineModule);
  engineModule = nullptr;
}

}  // namespace installer
