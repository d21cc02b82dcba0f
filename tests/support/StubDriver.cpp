#include "tests/support/StubDriver.h"

#include <gtest/gtest.h>
#include <psapi.h>
#include <stdio.h>

#include "tests/support/MessageTypes.h"

namespace testing_support {
namespace {

constexpr DWORD kPollMs = 50;
// Static control that holds a message box's text.
constexpr int kMessageTextId = 0xFFFF;
// Static control that holds its icon: Wine's id, then Windows' own.
constexpr int kMessageIconIds[] = {0x440, 0x14};
// A box shows its icon once it is painted, which may take a moment.
constexpr DWORD kIconPaintMs = 10000;

// Every button a message box can have, with the type that has exactly these.
struct ButtonSet {
  uint32_t type;
  int buttons[3];
};
const ButtonSet kButtonSets[] = {
    {MB_OK, {IDOK}},
    {MB_OKCANCEL, {IDOK, IDCANCEL}},
    {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}},
    {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}},
    {MB_YESNO, {IDYES, IDNO}},
    {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}},
};
constexpr int kAllButtons[] = {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO};

uint32_t ButtonsOf(HWND box) {
  for (const ButtonSet& set : kButtonSets) {
    bool same = true;
    for (int id : kAllButtons) {
      bool wanted = id == set.buttons[0] || id == set.buttons[1] || id == set.buttons[2];
      same = same && (GetDlgItem(box, id) != nullptr) == wanted;
    }
    if (same) return set.type;
  }
  return 0xF;  // No set of buttons a message box has.
}

// The system's icons are told apart by their colours on the screen, as the
// icon handle of another process says nothing here: the error icon is red,
// the warning icon yellow, the information icon blue.
uint32_t IconByColour(const RECT& area) {
  int red = 0, yellow = 0, blue = 0;
  HDC screen = GetDC(nullptr);
  for (LONG y = area.top; y < area.bottom; ++y) {
    for (LONG x = area.left; x < area.right; ++x) {
      COLORREF pixel = GetPixel(screen, x, y);
      int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
      if (r > 160 && g < 100 && b < 100) ++red;
      if (r > 180 && g > 160 && b < 100) ++yellow;
      if (b > 150 && r < 100) ++blue;
    }
  }
  ReleaseDC(nullptr, screen);
  const int enough = 50;
  if (yellow >= enough) return MB_ICONWARNING;
  if (red >= enough) return MB_ICONERROR;
  if (blue >= enough) return MB_ICONINFORMATION;
  return 0;
}

uint32_t IconOf(HWND box) {
  HWND icon = nullptr;
  for (int id : kMessageIconIds) {
    if (icon == nullptr) icon = GetDlgItem(box, id);
  }
  DWORD_PTR handle = 0;
  if (icon == nullptr ||
      !SendMessageTimeoutA(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &handle) || handle == 0) {
    return 0;
  }
  DWORD start = GetTickCount();
  for (;;) {
    RECT area = {};
    GetWindowRect(icon, &area);
    uint32_t found = IconByColour(area);
    if (found != 0 || GetTickCount() - start >= kIconPaintMs) return found != 0 ? found : MB_USERICON;
    Sleep(kPollMs);
  }
}

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
  // Under load, starting an installer written a moment before has failed
  // once; up to two more tries a little later are what a user would do.
  for (int attempt = 0;; ++attempt) {
    if (CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &info)) {
      break;
    }
    DWORD error = GetLastError();
    fprintf(stderr, "StubDriver: starting %s failed with error %lu\n", program.c_str(), error);
    if (attempt == 2) return false;
    Sleep(500);
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
        DialogSeen seen{w, WindowText(w), MessageBoxText(w)};
        if (IsMessageBox(w)) {
          seen.type = MessageBoxType(w);
          // In UTF-8: the words of any language, whatever the system's page.
          CheckMessageType(MessageBoxUtf8(w), seen.caption, seen.type);
        }
        return seen;
      }
    }
    // An ended process shows nothing more; its windows went with it.
    if (!Running() || GetTickCount() - start >= timeoutMs) return DialogSeen{};
    Sleep(kPollMs);
  }
}

DialogSeen StubDriver::WaitForFolderBrowser(DWORD timeoutMs) {
  // The browser's title line; no other dialog of the stub has it.
  constexpr int kBrowserTitle = 0x3742;
  DWORD start = GetTickCount();
  DialogSeen seen = WaitForDialog(timeoutMs);
  while (seen.window != nullptr && GetDlgItem(seen.window, kBrowserTitle) == nullptr) {
    DWORD waited = GetTickCount() - start;
    seen = waited >= timeoutMs ? DialogSeen{} : WaitForDialog(timeoutMs - waited);
  }
  return seen;
}

bool StubDriver::Press(HWND dialog, int buttonId, DWORD timeoutMs) {
  HWND button = GetDlgItem(dialog, buttonId);
  // A box answers a command for a button it lacks, which no user could
  // press: a box shown with the wrong buttons fails here.
  if (button == nullptr && IsMessageBox(dialog)) {
    ADD_FAILURE() << "the box has no button " << buttonId << ": " << MessageBoxUtf8(dialog);
    return false;
  }
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

void StubDriver::Kill() {
  if (process_ == nullptr) return;
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 10000);
}

DWORD StubDriver::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_ != nullptr) GetExitCodeProcess(process_, &code);
  return code;
}

uint64_t StubDriver::WaitForExitWatchingMemory(DWORD timeoutMs) {
  uint64_t peak = 0;
  DWORD start = GetTickCount();
  while (Running() && GetTickCount() - start < timeoutMs) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(process_, &counters, sizeof(counters)) && counters.PeakWorkingSetSize > peak) {
      peak = counters.PeakWorkingSetSize;
    }
    Sleep(20);
  }
  return peak;
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

std::string StubDriver::Utf8Text(HWND window) {
  wchar_t wide[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, 5000, &copied);
  char utf8[4096] = {};
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof(utf8), nullptr, nullptr);
  return utf8;
}

std::string StubDriver::ClassName(HWND window) {
  char buffer[256] = {};
  GetClassNameA(window, buffer, sizeof(buffer));
  return buffer;
}

uint32_t StubDriver::MessageBoxType(HWND box) { return ButtonsOf(box) | IconOf(box); }

// A dialog's labels have the text's id too; only a message box has the icon
// control beside it.
bool StubDriver::IsMessageBox(HWND dialog) {
  if (GetDlgItem(dialog, kMessageTextId) == nullptr) return false;
  for (int id : kMessageIconIds) {
    HWND icon = GetDlgItem(dialog, id);
    if (icon != nullptr && ClassName(icon) == "Static") return true;
  }
  return false;
}

std::string StubDriver::MessageBoxText(HWND box) {
  HWND text = GetDlgItem(box, kMessageTextId);
  return text != nullptr ? WindowText(text) : std::string();
}

std::string StubDriver::MessageBoxUtf8(HWND box) {
  HWND text = GetDlgItem(box, kMessageTextId);
  return text != nullptr ? Utf8Text(text) : std::string();
}

}  // namespace testing_support
