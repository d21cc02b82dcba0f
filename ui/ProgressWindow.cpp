#include "ui/ProgressWindow.h"

#include <commctrl.h>

#include "platform/AnsiChars.h"
#include "platform/ShutdownBlock.h"
#include "platform/SystemModule.h"
#include "platform/Text.h"
#include "ui/ResourceIds.h"
#include "ui/TextTable.h"

namespace ui {
namespace {

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_QUERYENDSESSION) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, platform::AnswerEndSession(dialog));
    return TRUE;
  }
  if (message != WM_INITDIALOG) return FALSE;
  ProgressWindow* self = reinterpret_cast<ProgressWindow*>(lParam);
  if (self != nullptr) self->OnInitDialog(dialog);
  return TRUE;
}

}  // namespace

ProgressWindow::ProgressWindow() { TextOf(texts::Id::kCaptionProgress, caption_, kCaptionChars); }

ProgressWindow::~ProgressWindow() { Close(); }

void ProgressWindow::SetCaption(const char* text) {
  if (window_ != nullptr) {
    SetWindowTextA(window_, text);
  } else if (text != nullptr) {
    Widen(text, caption_, kCaptionChars);
  }
}

int ProgressWindow::PositionFor(float fraction) {
  // Widened before the product and never rounded back to single precision:
  // 0.95f gives 474, not 475.
  return static_cast<int>(static_cast<double>(fraction) * 500.0);
}

namespace {

// A repaint costs milliseconds where drawing is slow: with many small files
// the installer would spend more time drawing the bar than writing them. A
// step smaller than this many positions (2 % of the bar), coming within this
// interval of the last repaint, is therefore not drawn on its own; the next
// one that is drawn catches the bar up. Until then the bar is behind by less
// than 2 %, which no one sees, and a step of the flows themselves is always
// drawn.
constexpr int kSmallStep = 10;
constexpr DWORD kRepaintIntervalMs = 100;

}  // namespace

void ProgressWindow::SetProgress(float fraction) {
  if (window_ == nullptr) return;
  int position = PositionFor(fraction);
  DWORD now = GetTickCount();
  int moved = position > drawn_ ? position - drawn_ : drawn_ - position;
  if (moved < kSmallStep && now - drawnAt_ < kRepaintIntervalMs) return;
  drawn_ = position;
  drawnAt_ = now;
  HWND bar = GetDlgItem(window_, IDC_PROGRESS_BAR);
  // With visual styles a bar glides up to a higher position, drawn over later
  // messages; a step back is drawn at once, so it is taken one past and back.
  SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position + 1), 0);
  SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  UpdateWindow(bar);
  KeepAnswering();
}

namespace {

bool IsInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

}  // namespace

void ProgressWindow::KeepAnswering() {
  if (window_ == nullptr) return;
  MSG message;
  // Only this window's own messages: the engine's windows and timers are not
  // the installer's to run, least of all once the engine is unloaded. Calls
  // sent by other threads (the system asking to end the session) are taken
  // all the same.
  while (PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) {
    // A close request would take the progress window, or the hidden main
    // window and the engine's parent with it, away in the middle of the work.
    UINT id = message.message;
    if (IsInput(id) || id == WM_CLOSE || id == WM_SYSCOMMAND) continue;
    DispatchMessageA(&message);
  }
}

void ProgressWindow::Create(HINSTANCE instance, HWND parent) {
  // The bar's window class lives in the common-controls library and exists
  // only once that library has registered it.
  // The library is not a known DLL that the system always takes from its own
  // folder, so it is not imported but loaded by full path, and kept.
  using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static HMODULE controlsLibrary = platform::LoadSystemModule("comctl32.dll").Release();
  auto init = reinterpret_cast<InitFn>(
      reinterpret_cast<void*>(GetProcAddress(controlsLibrary, "InitCommonControlsEx")));
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
  if (init != nullptr) init(&controls);
  window_ = CreateDialogParamW(instance, L"" IDD_PROGRESS_NAME, parent, ProgressDialogProc,
                               reinterpret_cast<LPARAM>(this));
}

void ProgressWindow::OnInitDialog(HWND dialog) {
  window_ = dialog;
  // The first position is drawn whatever it is.
  drawn_ = 0;
  drawnAt_ = GetTickCount() - kRepaintIntervalMs;
  SendMessageA(GetDlgItem(dialog, IDC_PROGRESS_BAR), PBM_SETRANGE, 0, MAKELPARAM(0, 500));
  SetWindowTextW(dialog, caption_);
}

void ProgressWindow::Close() {
  if (window_ != nullptr) DestroyWindow(window_);
  window_ = nullptr;
}

}  // namespace ui
