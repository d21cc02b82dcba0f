// The progress window of a long installation, watched from outside as the
// system watches it: a window that does not answer for a few seconds is shown
// as hung, and users end such installers.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <set>

#include "packager/EngineFormat.h"
#include "tests/e2e/StandaloneFixture.h"

using namespace standalone_e2e;

namespace {

constexpr int kExtraFiles = 40;
constexpr int kProjectFiles = 3 + kExtraFiles;
// Per decoded file: the installation takes several seconds.
constexpr char kEngineDelayMs[] = "100";
// Well below the five seconds after which the system calls a window hung.
constexpr UINT kAnswerMs = 2000;
constexpr int kBarId = 1003;

// What the user sees of the bar (500 steps): the flow's own steps at fixed
// places, one channel module among them, then a place of its own for each
// project file from 60 to 90 % of the bar, then the end.
const std::set<int> kStepPositions = {0, 25, 125, 150, 474};
bool ForAProjectFile(int position) { return position >= 300 && position < 450; }

class ProgressResponseTest : public StandaloneTest {
 public:
  ProgressResponseTest() : slow_("VDL_ENGINE_SLOW", kEngineDelayMs) {
    alterProject_ = [](packager::PayloadBuilder& project) {
      std::map<std::string, packager::Bytes> parts;
      for (int i = 0; i < kExtraFiles; ++i) {
        std::string text = "part " + std::to_string(i) + " of the tour";
        parts["parts\\Part" + std::to_string(i) + ".vdl"] = packager::EngineEncode(packager::Bytes(text.begin(), text.end()));
      }
      testing_support::AddProjectFiles(project, parts);
    };
  }

  // Starts the installer and presses Install: the progress window, once shown.
  DialogSeen Installing() {
    DialogSeen options = Start();
    EXPECT_NE(nullptr, options.window);
    if (options.window == nullptr || !driver_.Press(options.window, kInstall)) return DialogSeen();
    DialogSeen progress = driver_.WaitForDialog(kRunMs);
    EXPECT_EQ("Installing...", progress.caption);
    return progress;
  }

  ScopedEnvironment slow_;
};

TEST_F(ProgressResponseTest, LongInstallation_WindowAnswersThroughoutAndBarMovesThroughTheFractions) {
  DialogSeen progress = Installing();
  ASSERT_NE(nullptr, progress.window);
  HWND bar = GetDlgItem(progress.window, kBarId);
  ASSERT_NE(nullptr, bar);

  std::vector<int> seen;
  int unanswered = 0;
  DWORD longestWait = 0;
  DWORD start = GetTickCount();
  while (IsWindow(bar)) {
    DWORD asked = GetTickCount();
    DWORD_PTR position = 0;
    if (SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, kAnswerMs, &position) != 0) {
      seen.push_back(static_cast<int>(position));
      longestWait = std::max(longestWait, GetTickCount() - asked);
    } else if (IsWindow(bar)) {
      ++unanswered;
    }
  }
  DWORD shown = GetTickCount() - start;
  std::vector<DialogSeen> boxes = driver_.AnswerAllUntilExit(kRunMs);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(kDone, boxes[0].text);
  printf("progress window shown %lu ms, %zu answers, longest wait %lu ms\n", static_cast<unsigned long>(shown),
         seen.size(), static_cast<unsigned long>(longestWait));

  EXPECT_GE(shown, 3000u) << "the installation was too quick to show anything";
  EXPECT_EQ(0, unanswered);
  for (int position : seen) EXPECT_TRUE(kStepPositions.count(position) == 1 || ForAProjectFile(position)) << position;
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  // The project files take the time: the bar is seen at nearly every one's
  // place.
  std::set<int> projectSeen;
  for (int position : seen) {
    if (ForAProjectFile(position)) projectSeen.insert(position);
  }
  EXPECT_GE(static_cast<int>(projectSeen.size()), kProjectFiles - 2);
}

// Logging off in the middle would end the installer with a file half
// written; closing requests of every kind would leave it half done.
TEST_F(ProgressResponseTest, LogoffAndCloseRequestsWhileWriting_RefusedAndInstallationCompletes) {
  DialogSeen progress = Installing();
  ASSERT_NE(nullptr, progress.window);
  HWND main = driver_.FindWindowOfClass("VandrelExe Window");
  ASSERT_NE(nullptr, main);
  for (HWND window : {progress.window, main}) {
    DWORD_PTR answer = 1;
    ASSERT_NE(0, SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, kAnswerMs, &answer));
    EXPECT_EQ(0u, answer);
    PostMessageA(window, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageA(window, WM_SYSKEYDOWN, VK_F4, 1u << 29);
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  }
  std::vector<DialogSeen> boxes = driver_.AnswerAllUntilExit(kRunMs);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(kDone, boxes[0].text);
  EXPECT_EQ(0u, driver_.ExitCode());
}

// The progress window's pump runs the installer's own window only: an
// engine's window or timer is the engine's business, and its code may be
// unloaded before the last repaint.
TEST_F(ProgressResponseTest, EngineWindowWithTimer_NotRunByTheInstaller) {
  ScopedEnvironment engineWindow("VDL_ENGINE_WINDOW", "1");
  ASSERT_NE(nullptr, Installing().window);
  std::vector<DialogSeen> boxes = driver_.AnswerAllUntilExit(kRunMs);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(kDone, boxes[0].text);
  EXPECT_TRUE(testing_support::HasLine(log_, "Engine window open"));
  EXPECT_FALSE(testing_support::HasLine(log_, "Engine window timer"));
}

}  // namespace
