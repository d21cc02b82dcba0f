#pragma once
#include <stdint.h>
#include <windows.h>

#include "engine/EngineInterface.h"
#include "payload/PayloadReader.h"
#include "payload/PointerList.h"
#include "ui/ProgressWindow.h"

namespace installer {

// Working folder storage: at most 399 characters and a terminator.
constexpr uint32_t kWorkFolderSize = 400;

// Carries one run of the stub: its own payload reader, the working folder,
// the current item, the engine objects, what was created, and the progress
// window. Flows and steps call one another through the object.
class Installer {
 public:
  Installer();
  virtual ~Installer();
  Installer(const Installer&) = delete;
  Installer& operator=(const Installer&) = delete;

  virtual void SetHost(HINSTANCE instance, HWND parentWindow);
  virtual bool ReadItem(const char* name, void* buffer, int32_t size, const char* type);
  virtual bool RunInPlaceFlow();
  virtual bool InstallStandaloneFlow();
  virtual bool InstallScreenSaverFlow();
  virtual bool InstallWinampPluginFlow();

  // Read access for the flows' tests.
  const char* WorkFolder() const { return workFolder; }
  const uint8_t* ItemData() const { return itemData; }
  uint32_t ItemSize() const { return itemSize; }
  const payload::PointerList& CreatedFiles() const { return createdFiles; }
  const payload::PointerList& CreatedFolders() const { return createdFolders; }

 protected:
  HINSTANCE instance;
  HMODULE engineModule;
  char workFolder[kWorkFolderSize];
  uint8_t* itemData;
  uint32_t itemSize;
  engine::EngineControl* engineControl;
  engine::ChannelServices* channelServices;
  engine::LoaderChannel* loaderChannel;
  HWND parentWindow;
  payload::PointerList createdFiles;
  payload::PointerList createdFolders;
  ui::ProgressWindow* progressWindow;
  payload::PayloadReader* reader;
};

}  // namespace installer
