#include "tests/support/StubDriver.h"

namespace testing_support {
namespace {

constexpr DWORD kPollMs = 50;
// Static control that holds a message box's text.
constexpr int kMessageTextId = 0xFFFF;

struct EnumContext {
  DWORD processId;
  std::vector<HWND>* windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
  EnumContext* context = reinterpret_cast<EnumContext*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == context->processId) context->windows->push_back(window);
  return TRUE;
}

}  // namespace

StubDriver::~StubDriver() {
  if (process_ != nullptr) {
    if (Running()) TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
  }
}

void StubDriver::Reset() {
  if (process_ != nullptr) CloseHandle(process_);
  process_ = nullptr;
  processId_ = 0;
  seen_.clear();
}

bool StubDriver::Start(const std::string& program, const std::string& arguments, int showCommand) {
  std::string commandLine = "\"" + program + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  return true;
}

std::vector<HWND> StubDriver::Windows() const {
  std::vector<HWND> windows;
  EnumContext context{processId_, &windows};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&context));
  return windows;
}

HWND StubDriver::FindWindowOfClass(const std::string& className) const {
  for (HWND w : Windows()) {
    if (ClassName(w) == className) return w;
  }
  return nullptr;
}

DialogSeen StubDriver::WaitForDialog(DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    for (HWND w : Windows()) {
      if (seen_.count(w) == 0 && IsWindowVisible(w) && ClassName(w) == "#32770") {
        seen_.insert(w);
        return DialogSeen{w, WindowText(w), MessageBoxText(w)};
      }
    }
    // An ended process shows nothing more; its windows went with it.
    if (!Running() || GetTickCount() - start >= timeoutMs) return DialogSeen{};
    Sleep(kPollMs);
  }
}

bool StubDriver::Press(HWND dialog, int buttonId, DWORD timeoutMs) {
  HWND button = GetDlgItem(dialog, buttonId);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  DWORD start = GetTickCount();
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollMs);
  }
  return true;
}

bool StubDriver::PressUntilGone(HWND dialog, int buttonId, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!Press(dialog, buttonId, 1000)) {
    if (GetTickCount() - start >= timeoutMs) return false;
  }
  return true;
}

std::vector<DialogSeen> StubDriver::AnswerAllUntilExit(DWORD timeoutMs, int buttonId) {
  std::vector<DialogSeen> boxes;
  DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    DialogSeen box = WaitForDialog(kPollMs * 4);
    if (box.window != nullptr) {
      // Other dialogs (the progress window) go on their own.
      if (!IsMessageBox(box.window)) continue;
      boxes.push_back(box);
      Press(box.window, buttonId);
    } else if (!Running()) {
      break;
    }
  }
  return boxes;
}

bool StubDriver::WaitForExit(DWORD timeoutMs) {
  return process_ != nullptr && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD StubDriver::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_ != nullptr) GetExitCodeProcess(process_, &code);
  return code;
}

bool StubDriver::Running() const { return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::string StubDriver::WindowText(HWND window) {
  char buffer[1024] = {};
  GetWindowTextA(window, buffer, sizeof(buffer));
  return buffer;
}

// Asked of the control itself: across processes GetWindowText reads only the
// text the system keeps, never what an edit control holds.
std::string StubDriver::ControlText(HWND window) {
  char buffer[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000,
                      &copied);
  return buffer;
}

std::string StubDriver::ClassName(HWND window) {
  char buffer[256] = {};
  GetClassNameA(window, buffer, sizeof(buffer));
  return buffer;
}

bool StubDriver::IsMessageBox(HWND dialog) { return GetDlgItem(dialog, kMessageTextId) != nullptr; }

std::string StubDriver::MessageBoxText(HWND box) {
  HWND text = GetDlgItem(box, kMessageTextId);
  return text != nullptr ? WindowText(text) : std::string();
}

}  // namespace testing_support
