#include "tests/support/TestInstaller.h"

#include <windows.h>

#include "app/MainWindow.h"
#include "platform/Text.h"
#include "payload/WindowNames.h"
#include "tests/support/Payloads.h"
#include "tests/support/TempDir.h"

namespace testing_support {

TestInstaller::TestInstaller(const std::string& payloadFile)
    : installer::Installer(new payload::PayloadReader(payloadFile.c_str())) {
  SetHost(GetModuleHandleA(nullptr), HostWindow());
}

void TestInstaller::SetWorkFolder(const std::string& folder) {
  text::CopyAtMost(workFolder, folder.c_str(), sizeof(workFolder) - 1);
}

static std::vector<std::string> Texts(const payload::PointerList& list) {
  std::vector<std::string> texts;
  for (int32_t i = 0; i < list.Count(); ++i) texts.push_back(static_cast<const char*>(list.Get(i)));
  return texts;
}

std::vector<std::string> TestInstaller::Files() const { return Texts(createdFiles); }
std::vector<std::string> TestInstaller::Folders() const { return Texts(createdFolders); }

HWND HostWindow() {
  static HWND window = app::MakeMainWindow(GetModuleHandleA(nullptr));
  return window;
}

bool WritePayloadFile(const std::string& path, const packager::PayloadBuilder& payload) {
  std::string image = InstallerImage("MZ" + std::string(510, '\0'), payload);
  return WriteFileBytes(path, image.data(), image.size());
}

std::string EngineDllPath() { return VDL_ENGINE_DLL; }

bool PlaceEngine(const std::string& folder) {
  CreateDirectoryA((folder + "\\channels").c_str(), nullptr);
  return CopyFileA(EngineDllPath().c_str(), (folder + "\\tessaron.dll").c_str(), FALSE) &&
         WriteFileBytes(folder + "\\channels\\LoaderUnit.dll", "L", 1) &&
         WriteFileBytes(folder + "\\channels\\SaverUnit.dll", "S", 1);
}

}  // namespace testing_support
