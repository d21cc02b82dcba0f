#pragma once
// Drives a real executable from the outside, as a user would: starts it,
// waits for its windows, reads their captions and texts, presses buttons and
// collects the exit code.
#include <windows.h>
#include <stdint.h>

#include <set>
#include <string>
#include <vector>

namespace testing_support {

struct DialogSeen {
  HWND window = nullptr;
  std::string caption;
  std::string text;  // The message text of a message box, else empty.
  uint32_t type = 0;  // A message box's buttons and icon, as MessageBoxA takes them.
};

class StubDriver {
 public:
  StubDriver() {}
  ~StubDriver();
  StubDriver(const StubDriver&) = delete;
  StubDriver& operator=(const StubDriver&) = delete;

  // arguments are appended to the quoted program path. showCommand reaches
  // the program through its start-up information.
  // Lets go of the last program, so that the driver can start another.
  void Reset();

  bool Start(const std::string& program, const std::string& arguments = "", int showCommand = SW_SHOWNORMAL);

  // The next visible dialog of the process not returned before, or a null
  // window after timeoutMs; a dialog stays unseen until it is visible. The
  // type of every message box is checked against the text it shows.
  DialogSeen WaitForDialog(DWORD timeoutMs);
  // The next shell folder browser, passing over other dialogs (the progress
  // window may show itself to the driver only after a later message box).
  DialogSeen WaitForFolderBrowser(DWORD timeoutMs);
  // Sends a button's command to a dialog and waits until the dialog is gone.
  bool Press(HWND dialog, int buttonId, DWORD timeoutMs = 10000);
  // The same, pressing again each second: for a dialog that shows before it
  // can act on the button (the folder browser while it fills its tree).
  bool PressUntilGone(HWND dialog, int buttonId, DWORD timeoutMs = 60000);
  // Answers every message box until the process ends; the boxes seen, in
  // order. Other dialogs are left alone.
  std::vector<DialogSeen> AnswerAllUntilExit(DWORD timeoutMs, int buttonId = IDOK);

  bool WaitForExit(DWORD timeoutMs);
  // Ends the program at once, as Task Manager or a power cut would, and
  // waits until it is gone.
  void Kill();
  // Waits for the end while watching the program's memory: the highest
  // peak working set seen, in bytes (0 where the system does not tell).
  uint64_t WaitForExitWatchingMemory(DWORD timeoutMs);
  DWORD ExitCode() const;
  bool Running() const;
  DWORD ProcessId() const { return processId_; }

  // Top-level windows of the process, hidden ones included.
  std::vector<HWND> Windows() const;
  HWND FindWindowOfClass(const std::string& className) const;

  // The caption the system keeps; never waits for the program.
  static std::string WindowText(HWND window);
  // What a control of a program holds; waits until the program answers.
  static std::string ControlText(HWND control);
  // The same, of any window, as UTF-8: the words whatever the system's code
  // page can hold.
  static std::string Utf8Text(HWND window);
  static std::string ClassName(HWND window);
  static std::string MessageBoxText(HWND box);
  static std::string MessageBoxUtf8(HWND box);
  static bool IsMessageBox(HWND dialog);
  // Buttons and icon of a message box, read as a user sees them.
  static uint32_t MessageBoxType(HWND box);

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  std::set<HWND> seen_;
};

}  // namespace testing_support
