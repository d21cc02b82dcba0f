#pragma once
// A whole run of an installer, as a user who answers every message with OK
// sees it: the message boxes, in order.
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace testing_support {

// How long a run may take. A 32-bit program starts under emulation here and
// needs about a minute before it shows anything.
constexpr DWORD kRunMs = 60000;
constexpr DWORD kRunMsI686 = 600000;

// A message box as a user reads it; its type is checked as it is seen.
struct Box {
  std::string text;
  std::string caption;
  bool operator==(const Box& other) const { return text == other.text && caption == other.caption; }
};
std::ostream& operator<<(std::ostream& out, const Box& box);

// A failure the installer tells and goes on from to its success message:
// the registry's, or the project name that cannot be read again for it.
bool ToldOnTheWay(const std::string& text);

// A run's exit code against the texts it showed: 0 after the success
// message or no message at all, 1 after a success that told of a failure on
// the way (the registry's), otherwise 1 to 3, never 0.
void ExpectExitCodeMatches(DWORD exitCode, const std::vector<std::string>& texts);

// Starts the installer, answers every message box with OK until it ends, and
// expects its exit code to match what it showed.
std::vector<Box> RunToEnd(const std::string& installer, DWORD timeoutMs = kRunMs, const std::string& arguments = "");

std::vector<std::string> Texts(const std::vector<Box>& boxes);

}  // namespace testing_support
