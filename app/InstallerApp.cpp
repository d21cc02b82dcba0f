#include "app/InstallerApp.h"

#include "installer/ExitCode.h"
#include "installer/Installer.h"
#include "installer/ReaderMessages.h"
#include "installer/Translations.h"
#include "payload/LittleEndian.h"
#include "payload/PayloadFormat.h"
#include "payload/PayloadReader.h"
#include "payload/ProjectTypes.h"
#include "ui/Report.h"

namespace app {
namespace {

// Each flow runs in an installer object of its own, over the reader the
// project type was read with: the payload's directory is read once a run.
// One function for the four, not one each.
uint32_t RunFlow(bool (installer::Installer::*flow)(), payload::PayloadReader* reader, HINSTANCE instance,
                 HWND mainWindow, const CommandLine& line) {
  installer::Installer run(reader);
  run.SetHost(instance, mainWindow);
  run.SetUnattended(line.unattended);
  if (run.FitsSystemCodePage() && (run.*flow)()) return run.DoneCode();
  // What failed is told here, once, whichever step it was.
  run.ReportFailure();
  run.UndoRun();
  return run.ExitCode();
}

}  // namespace

void InstallerApp::SetHost(HINSTANCE instance, HWND mainWindow) {
  instance_ = instance;
  mainWindow_ = mainWindow;
}

InstallerApp::~InstallerApp() { delete reader_; }

void InstallerApp::OpenPayload() {
  reader_ = new payload::PayloadReader();
  if (reader_ == nullptr) return;
  installer::ReportMissingPayload(*reader_);
  installer::LoadTranslations(*reader_, line_.language);
}

bool InstallerApp::ReadSetting(const char* name, void* buffer, int32_t count) {
  if (reader_ == nullptr) return false;
  bool found = reader_->ReadItem(name, buffer, count, payload::kTypeAppData);
  installer::ReportCrcMismatch(*reader_);
  return found;
}

payload::PayloadReader* InstallerApp::TakeReader() {
  payload::PayloadReader* reader = reader_;
  reader_ = nullptr;
  return reader;
}

void InstallerApp::Run() {
  OpenPayload();
  uint8_t raw[4];
  if (!ReadSetting(payload::kProjectTypeSetting.name, raw, sizeof(raw))) {
    ui::Tell(messages::Id::kMissingItem, nullptr);
    exitCode_ = installer::kExitFailed;
    return;
  }
  switch (payload::ReadLittleEndian32(raw)) {
    case payload::kRunInPlace: RunInPlace(); break;
    case payload::kStandalone: Standalone(); break;
    case payload::kScreenSaver: ScreenSaver(); break;
    case payload::kWinampPlugin: WinampPlugin(); break;
    // Unknown types end the run without a word, but not as a success.
    default: exitCode_ = installer::kExitFailed; break;
  }
}

void InstallerApp::RunInPlace() {
  exitCode_ = RunFlow(&installer::Installer::RunInPlaceFlow, TakeReader(), instance_, mainWindow_, line_);
}
void InstallerApp::Standalone() {
  exitCode_ = RunFlow(&installer::Installer::InstallStandaloneFlow, TakeReader(), instance_, mainWindow_, line_);
}
void InstallerApp::ScreenSaver() {
  exitCode_ = RunFlow(&installer::Installer::InstallScreenSaverFlow, TakeReader(), instance_, mainWindow_, line_);
}
void InstallerApp::WinampPlugin() {
  exitCode_ = RunFlow(&installer::Installer::InstallWinampPluginFlow, TakeReader(), instance_, mainWindow_, line_);
}

}  // namespace app
