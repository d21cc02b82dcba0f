#pragma once
// The stub's installer object in a test program: it reads a payload file the
// test wrote instead of the test program itself, and lets the test set and
// see the state that the flows normally handle.
#include <string>

#include "installer/Installer.h"
#include "packager/PayloadBuilder.h"

namespace testing_support {

class TestInstaller : public installer::Installer {
 public:
  // Hosted by HostWindow(); reads its items from payloadFile.
  explicit TestInstaller(const std::string& payloadFile);
  // Releases whatever engine state a test left, so its folder can go.
  ~TestInstaller() override { ReleaseEngine(); }

  void SetWorkFolder(const std::string& folder);
  // Takes ownership, as the flows' progress window is owned.
  void SetProgressWindow(ui::ProgressWindow* window) { progressWindow = window; }

  // Entries as extraction records them.
  void AddCreatedFile(const std::string& path) { Record(createdFiles, path.c_str()); }
  void AddCreatedFolder(const std::string& path) { Record(createdFolders, path.c_str()); }

  HMODULE EngineModule() const { return engineModule; }
  engine::EngineControl* Control() const { return engineControl; }
  engine::ChannelServices* Services() const { return channelServices; }
  engine::LoaderChannel* Loader() const { return loaderChannel; }
  std::vector<std::string> Files() const;
  std::vector<std::string> Folders() const;
};

// A progress window that remembers every fraction it was given.
class RecordingProgress : public ui::ProgressWindow {
 public:
  void SetProgress(float fraction) override { fractions.push_back(fraction); }
  std::vector<float> fractions;
};

// The stub's own hidden main window, made once in this process.
HWND HostWindow();

// A small fake stub with the payload behind it, as the stub reads it.
bool WritePayloadFile(const std::string& path, const packager::PayloadBuilder& payload);

// The stand-in engine DLL of this build.
std::string EngineDllPath();

// Everything the engine needs in a folder to start: the DLL as
// "tessaron.dll" and the two channel modules it looks for.
bool PlaceEngine(const std::string& folder);

}  // namespace testing_support
