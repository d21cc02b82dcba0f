#include "tests/support/InstallerRun.h"

#include <algorithm>

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
  std::vector<std::string> texts;
  for (const Box& box : boxes) texts.push_back(box.text);
  ExpectExitCodeMatches(driver.ExitCode(), texts);
  return boxes;
}

bool ToldOnTheWay(const std::string& text) {
  return text.find("Error can't write in registry") != std::string::npos ||
         text.find("Can't find project type ProjectName") != std::string::npos;
}

void ExpectExitCodeMatches(DWORD exitCode, const std::vector<std::string>& texts) {
  const std::string* lastText = texts.empty() ? nullptr : &texts.back();
  bool succeeded = lastText == nullptr || lastText->rfind("Installation successfully completed!", 0) == 0;
  // A failure told on the way to the success message ends with 1 all the same.
  bool toldOnTheWay = std::any_of(texts.begin(), texts.end(), ToldOnTheWay);
  if (succeeded) {
    EXPECT_EQ(toldOnTheWay ? 1u : 0u, exitCode) << "after " << (lastText != nullptr ? *lastText : "no message");
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
