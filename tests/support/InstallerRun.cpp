#include "tests/support/InstallerRun.h"

#include <gtest/gtest.h>

#include "tests/support/StubDriver.h"

namespace testing_support {

namespace {

// Left to end after its last box.
constexpr DWORD kExitMs = 5000;

}  // namespace

std::ostream& operator<<(std::ostream& out, const Box& box) { return out << "[" << box.caption << "] " << box.text; }

std::vector<Box> RunToEnd(const std::string& installer, DWORD timeoutMs, const std::string& arguments) {
  StubDriver driver;
  EXPECT_TRUE(driver.Start(installer, arguments)) << installer;
  std::vector<Box> boxes;
  for (const DialogSeen& seen : driver.AnswerAllUntilExit(timeoutMs)) boxes.push_back(Box{seen.text, seen.caption});
  EXPECT_TRUE(driver.WaitForExit(kExitMs));
  ExpectExitCodeMatches(driver.ExitCode(), boxes.empty() ? nullptr : &boxes.back().text);
  return boxes;
}

void ExpectExitCodeMatches(DWORD exitCode, const std::string* lastText) {
  bool succeeded = lastText == nullptr || lastText->rfind("Installation successfully completed!", 0) == 0;
  if (succeeded) {
    EXPECT_EQ(0u, exitCode) << "after " << (lastText != nullptr ? *lastText : "no message");
  } else {
    EXPECT_TRUE(exitCode >= 1 && exitCode <= 3) << exitCode << " after " << *lastText;
  }
}

std::vector<std::string> Texts(const std::vector<Box>& boxes) {
  std::vector<std::string> texts;
  for (const Box& box : boxes) texts.push_back(box.text);
  return texts;
}

}  // namespace testing_support
