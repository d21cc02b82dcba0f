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
  EXPECT_EQ(0u, driver.ExitCode());
  return boxes;
}

std::vector<std::string> Texts(const std::vector<Box>& boxes) {
  std::vector<std::string> texts;
  for (const Box& box : boxes) texts.push_back(box.text);
  return texts;
}

}  // namespace testing_support
