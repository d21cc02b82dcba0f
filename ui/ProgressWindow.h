#pragma once
#include <windows.h>

namespace ui {


// Modeless "Installing..." dialog with one bar. The flows work on the thread
// that owns it, so a change of position repaints the bar at once and reads
// what has queued up meanwhile; only a small step right after another waits
// for the next.
class ProgressWindow {
 public:
  ProgressWindow();
  virtual ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  virtual void SetCaption(const char* text);
  virtual void SetProgress(float fraction);
  virtual void Create(HINSTANCE instance, HWND parent);
  virtual void OnInitDialog(HWND dialog);
  virtual void Close();

  // Dispatches the messages waiting for this window, so that the system
  // never takes the installer for hung; input is dropped, as nothing may
  // start or close while files are written. Only while the window exists.
  void KeepAnswering();

  HWND Window() const { return window_; }
  const wchar_t* Caption() const { return caption_; }

  // Bar position (0 to 500) for a fraction, as the bar is set.
  static int PositionFor(float fraction);

 private:
  HWND window_ = nullptr;
  // The position the bar last showed, and when.
  int drawn_ = 0;
  DWORD drawnAt_ = 0;
  static constexpr int kCaptionChars = 260;
  wchar_t caption_[kCaptionChars];
};

}  // namespace ui
