// The stub's hidden main window, in process: the parent of the engine and of
// the progress window, it must outlive every request to close it, and it
// refuses a logoff while an installation writes its files.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/ShutdownBlock.h"
#include "tests/support/TestInstaller.h"

namespace {

TEST(MainWindow, CloseRequests_RefusedAndLogoffRefusedOnlyWhileInstalling) {
  HWND window = testing_support::HostWindow();
  ASSERT_NE(nullptr, window);
  const struct {
    UINT message;
    WPARAM wParam;
  } closes[] = {{WM_CLOSE, 0}, {WM_SYSCOMMAND, SC_CLOSE}};
  for (const auto& close : closes) {
    SendMessageA(window, close.message, close.wParam, 0);
    EXPECT_TRUE(IsWindow(window)) << close.message;
  }
  EXPECT_NE(0, SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
  platform::BlockShutdown(window);
  EXPECT_EQ(0, SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
  platform::AllowShutdown();
  EXPECT_NE(0, SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
}

}  // namespace
