// The benchmark's user: starts an installer, presses "Install" in the
// options dialog and OK in every message box the moment each is visible, and
// prints the seconds from the start to the installer's end. An installer
// started silently (a peer's /S) shows nothing and is timed the same way, so
// that both sides of a comparison pay the same process start.
//   InstallDriver PROGRAM [ARGUMENTS...]
//   InstallDriver --first-window PROGRAM
// The second form prints the seconds until the first dialog is visible and
// then cancels it: the start-up a user waits through. A peer shown with its
// pages (NSIS's folder page) has its "Install" button pressed the same way.
// After the total, a second figure: the seconds from the newest file below
// the folder named by VDL_BENCH_TARGET (Windows path) to the end, the
// installation's closing work; 0 without it.
// Exit status 0 when the program ended with 0 and every message box it
// showed was the success message; 1 otherwise; 2 for a bad command line.
#include <windows.h>

#include <stdio.h>

#include <set>
#include <string>

#include "tests/support/StubDriver.h"

using testing_support::StubDriver;

namespace {

// Short enough that a click waits at most a hundredth of a second, long
// enough that the polling takes little of the processor both sides share.
constexpr DWORD kPollMs = 10;
constexpr DWORD kTimeoutMs = 600 * 1000;
constexpr int kInstallButton = 1;
constexpr int kPathEdit = 1000;
constexpr int kCancelButton = 1002;
constexpr char kDone[] = "Installation successfully completed!";

bool IsInstallButton(HWND button) {
  if (button == nullptr || !IsWindowEnabled(button)) return false;
  std::string text = StubDriver::WindowText(button);
  return text == "Install" || text == "&Install";
}

// The newest write time of any file below folder, recursively.
void NewestWrite(const std::string& folder, FILETIME* newest) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      NewestWrite(folder + "\\" + name, newest);
    } else if (CompareFileTime(&found.ftLastWriteTime, newest) > 0) {
      *newest = found.ftLastWriteTime;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

// Seconds from the newest file below the target to now.
double SinceLastFile() {
  char target[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("VDL_BENCH_TARGET", target, sizeof(target));
  if (length == 0 || length >= sizeof(target)) return 0;
  FILETIME newest = {}, now;
  NewestWrite(target, &newest);
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER a, b;
  a.LowPart = newest.dwLowDateTime;
  a.HighPart = newest.dwHighDateTime;
  b.LowPart = now.dwLowDateTime;
  b.HighPart = now.dwHighDateTime;
  return newest.dwLowDateTime == 0 && newest.dwHighDateTime == 0 ? 0 : static_cast<double>(b.QuadPart - a.QuadPart) / 1e7;
}

// Each dialog is answered once: a posted command stays queued until the
// dialog's own loop takes it, however early it was sent. The options dialog
// is told by its folder field (its label looks like a message box's text);
// the progress window has neither and is left alone.
bool AnswerNewDialogs(StubDriver& driver, std::set<HWND>& answered, std::string* seen) {
  bool ok = true;
  for (HWND window : driver.Windows()) {
    if (!IsWindowVisible(window) || StubDriver::ClassName(window) != "#32770") continue;
    if (answered.count(window) != 0) continue;
    int button = 0;
    if (GetDlgItem(window, kPathEdit) != nullptr || IsInstallButton(GetDlgItem(window, kInstallButton))) {
      button = kInstallButton;
    } else if (StubDriver::IsMessageBox(window)) {
      std::string text = StubDriver::MessageBoxText(window);
      seen->append(text).append("\n");
      ok = ok && text.compare(0, sizeof(kDone) - 1, kDone) == 0;
      button = IDOK;
    }
    if (button == 0) continue;
    answered.insert(window);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
  }
  return ok;
}

double Seconds(const LARGE_INTEGER& start) {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int FirstWindow(const char* program) {
  StubDriver driver;
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!driver.Start(program)) return 2;
  testing_support::DialogSeen dialog = driver.WaitForDialog(kTimeoutMs);
  double seconds = Seconds(start);
  if (dialog.window == nullptr || !driver.Press(dialog.window, kCancelButton) || !driver.WaitForExit(kTimeoutMs)) {
    fprintf(stderr, "InstallDriver: no dialog to cancel from %s\n", program);
    return 1;
  }
  printf("%.3f\n", seconds);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--first-window") return FirstWindow(argv[2]);
  if (argc < 2) {
    fprintf(stderr, "usage: InstallDriver [--first-window] PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  std::string arguments;
  for (int i = 2; i < argc; ++i) arguments += std::string(i > 2 ? " " : "") + argv[i];
  StubDriver driver;
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!driver.Start(argv[1], arguments)) {
    fprintf(stderr, "InstallDriver: cannot start %s\n", argv[1]);
    return 2;
  }
  bool ok = true;
  std::string seen;
  std::set<HWND> answered;
  DWORD begun = GetTickCount();
  while (!driver.WaitForExit(kPollMs)) {
    ok = AnswerNewDialogs(driver, answered, &seen) && ok;
    if (GetTickCount() - begun > kTimeoutMs) {
      fprintf(stderr, "InstallDriver: %s did not end\n", argv[1]);
      return 1;
    }
  }
  printf("%.3f %.3f\n", Seconds(start), SinceLastFile());
  if (!ok || driver.ExitCode() != 0) {
    fprintf(stderr, "InstallDriver: exit code %lu, messages:\n%s", driver.ExitCode(), seen.c_str());
    return 1;
  }
  return 0;
}
