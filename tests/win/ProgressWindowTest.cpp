// The modeless progress dialog from the resource template.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "tests/support/StubDriver.h"
#include "tests/support/TestInstaller.h"
#include "ui/ProgressWindow.h"
#include "ui/ResourceIds.h"

using testing_support::StubDriver;

namespace {

int BarPosition(const ui::ProgressWindow& window) {
  return static_cast<int>(SendDlgItemMessageA(window.Window(), IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0));
}

void Create(ui::ProgressWindow& window) { window.Create(GetModuleHandleA(nullptr), testing_support::HostWindow()); }

TEST(ProgressWindow, Create_VisibleWithRangeAndCaption) {
  ui::ProgressWindow window;
  Create(window);
  ASSERT_NE(nullptr, window.Window());
  EXPECT_TRUE(IsWindowVisible(window.Window()));
  EXPECT_EQ("Installing...", StubDriver::WindowText(window.Window()));
  EXPECT_EQ(500, SendDlgItemMessageA(window.Window(), IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, 0));
  EXPECT_EQ("msctls_progress32", StubDriver::ClassName(GetDlgItem(window.Window(), IDC_PROGRESS_BAR)));
}

TEST(ProgressWindow, SetProgress_TruncatedPositions) {
  ui::ProgressWindow window;
  Create(window);
  const struct {
    float fraction;
    int position;
  } cases[] = {{0.0f, 0}, {0.05f, 25}, {0.25f, 125}, {0.3f, 150}, {0.6f, 300}, {0.95f, 474}};
  for (const auto& c : cases) {
    window.SetProgress(c.fraction);
    EXPECT_EQ(c.position, BarPosition(window)) << c.fraction;
  }
}

// Small steps one right after another are not each drawn, but the bar is
// never left more than a small step behind, nor behind for long.
TEST(ProgressWindow, SmallStepsInQuickSuccession_BarNeverFarBehind) {
  ui::ProgressWindow window;
  Create(window);
  float fraction = 0.6f;
  for (int i = 0; i < 200; ++i) {
    fraction += 0.0004f;
    window.SetProgress(fraction);
    ASSERT_LT(ui::ProgressWindow::PositionFor(fraction) - BarPosition(window), 10) << i;
  }
  // One position further, a moment later: drawn.
  Sleep(150);
  fraction += 0.002f;
  window.SetProgress(fraction);
  EXPECT_EQ(ui::ProgressWindow::PositionFor(fraction), BarPosition(window));
}

TEST(ProgressWindow, WithoutWindow_ProgressAndCloseDoNothing) {
  ui::ProgressWindow window;
  window.SetProgress(0.5f);
  window.Close();
  EXPECT_EQ(nullptr, window.Window());
  // A position given while there was no window is not kept for the next one.
  Create(window);
  ASSERT_NE(nullptr, window.Window());
  EXPECT_EQ(0, BarPosition(window));
  HWND dialog = window.Window();
  window.Close();
  EXPECT_EQ(nullptr, window.Window());
  EXPECT_FALSE(IsWindow(dialog));
  // Nor does a position after Close bring a window back.
  window.SetProgress(0.5f);
  EXPECT_EQ(nullptr, window.Window());
  // Of this process: another program's installer may be on the display.
  HWND found = nullptr;
  while ((found = FindWindowExA(nullptr, found, "#32770", "Installing...")) != nullptr) {
    DWORD process = 0;
    GetWindowThreadProcessId(found, &process);
    EXPECT_NE(GetCurrentProcessId(), process);
  }
}

TEST(ProgressWindow, SetCaption_StoredBeforeCreateAppliedAtOnceAfter) {
  ui::ProgressWindow window;
  window.SetCaption(std::string(300, 'c').c_str());
  window.SetCaption(nullptr);
  Create(window);
  EXPECT_EQ(std::string(259, 'c'), StubDriver::WindowText(window.Window()));
  window.SetCaption("Copying");
  EXPECT_EQ("Copying", StubDriver::WindowText(window.Window()));
  // The stored caption is what a new window shows.
  window.Close();
  Create(window);
  EXPECT_EQ(std::string(259, 'c'), StubDriver::WindowText(window.Window()));
}

TEST(ProgressWindow, Destroyed_WindowGoesWithIt) {
  auto* window = new ui::ProgressWindow;
  Create(*window);
  HWND dialog = window->Window();
  ASSERT_TRUE(IsWindow(dialog));
  delete window;
  EXPECT_FALSE(IsWindow(dialog));
}

}  // namespace
