// DemoDriver INSTALLER SHOTS_DIR [--timeout SECONDS]
//
// Runs the installer as a user who accepts every default would: each new
// window of the installer (or of a program it starts) is described on
// stdout and photographed into SHOTS_DIR as shot-01.bmp, shot-02.bmp, ...;
// each dialog among them is answered with its default button. Exit status 0
// when the installer ended (its own exit code is printed), 1 when it had to
// be ended at the timeout, 2 for a bad command line or a failed start.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "demo/WindowWatch.h"
#include "tests/support/Screenshot.h"
#include "tests/support/StubDriver.h"

using testing_support::StubDriver;

namespace {

constexpr DWORD kPollMs = 100;
// A window is visible before its process has painted it.
constexpr DWORD kPaintMs = 700;

struct Options {
  std::string installer;
  std::string shots;
  DWORD timeoutMs = 300 * 1000;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (argument == "--timeout" && i + 1 < argc) {
      options.timeoutMs = static_cast<DWORD>(strtoul(argv[++i], nullptr, 10)) * 1000;
    } else if (argument.compare(0, 2, "--") == 0) {
      return false;
    } else if (options.installer.empty()) {
      options.installer = argument;
    } else if (options.shots.empty()) {
      options.shots = argument;
    } else {
      return false;
    }
  }
  return !options.shots.empty() && options.timeoutMs > 0;
}

bool Shown(HWND window, int controlId) {
  HWND control = GetDlgItem(window, controlId);
  return control != nullptr && IsWindowVisible(control);
}

// What a user who reads nothing presses: OK (or the first button, id 1, as
// on an "Install" page), else Yes, else whatever the dialog marks default.
int DefaultAnswer(HWND dialog) {
  if (Shown(dialog, IDOK)) return IDOK;
  if (Shown(dialog, IDYES)) return IDYES;
  DWORD_PTR result = 0;
  if (SendMessageTimeoutA(dialog, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) &&
      HIWORD(result) == DC_HASDEFID) {
    return LOWORD(result);
  }
  return IDCANCEL;
}

void WaitUntilPainted(HWND window) {
  Sleep(kPaintMs);
  // Repainted on request: a window that appeared over another may still show
  // the other's pixels where it has not drawn yet.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // Returns once the window's thread is taking messages again, which under
  // emulation can be long after the window appeared.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
  Sleep(kPaintMs / 2);
}

void Describe(HWND window, bool dialog) {
  std::string text = StubDriver::MessageBoxText(window);
  printf("%s \"%s\"%s%s\n", dialog ? "dialog" : "window", StubDriver::WindowText(window).c_str(),
         text.empty() ? "" : ": ", text.c_str());
}

void Photograph(const Options& options, int& shots) {
  char name[32];
  snprintf(name, sizeof(name), "\\shot-%02d.bmp", shots + 1);
  std::string path = options.shots + name;
  if (testing_support::SaveScreenshot(path)) {
    ++shots;
    printf("  screenshot %s\n", path.c_str());
  } else {
    printf("  screenshot failed (error %lu)\n", GetLastError());
  }
}

// A dialog with no button to press (the progress window) is busy while it
// shows: waiting for its thread would wait for the installation's end.
bool HasButtons(HWND dialog) {
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
    if (GetDlgItem(dialog, id) != nullptr) return true;
  }
  return false;
}

void Handle(HWND window, const Options& options, StubDriver& driver, int& shots) {
  bool dialog = StubDriver::ClassName(window) == "#32770";
  if (dialog && !HasButtons(window)) {
    Sleep(kPaintMs);
    Describe(window, dialog);
    Photograph(options, shots);
    return;
  }
  WaitUntilPainted(window);
  Describe(window, dialog);
  Photograph(options, shots);
  if (!dialog) return;
  int answer = DefaultAnswer(window);
  std::string label = StubDriver::WindowText(GetDlgItem(window, answer));
  printf("  pressing %d \"%s\"\n", answer, label.c_str());
  if (!driver.Press(window, answer)) printf("  the dialog is still open\n");
}

}  // namespace

int main(int argc, char** argv) {
  // Lines must reach the script as they happen, not when the driver ends.
  setvbuf(stdout, nullptr, _IONBF, 0);
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    fprintf(stderr, "usage: DemoDriver INSTALLER SHOTS_DIR [--timeout SECONDS]\n");
    return 2;
  }
  CreateDirectoryA(options.shots.c_str(), nullptr);
  StubDriver driver;
  if (!driver.Start(options.installer)) {
    fprintf(stderr, "DemoDriver: cannot start %s (error %lu)\n", options.installer.c_str(), GetLastError());
    return 2;
  }
  printf("started %s\n", options.installer.c_str());
  demo::WindowWatch watch(driver.ProcessId());
  int shots = 0;
  DWORD start = GetTickCount();
  while (driver.Running() && GetTickCount() - start < options.timeoutMs) {
    HWND window = watch.NextNewWindow();
    if (window != nullptr) {
      Handle(window, options, driver, shots);
    } else {
      Sleep(kPollMs);
    }
  }
  printf("%d screenshot(s)\n", shots);
  if (driver.WaitForExit(0)) {
    printf("installer exit code: %lu\n", driver.ExitCode());
    return 0;
  }
  printf("timeout after %lu s: ending the installer\n", options.timeoutMs / 1000);
  watch.EndDescendants();
  return 1;  // The driver's destructor ends the installer itself.
}
