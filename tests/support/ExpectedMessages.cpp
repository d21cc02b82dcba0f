#include "tests/support/ExpectedMessages.h"

namespace testing_support {

std::string SystemReason(DWORD error) {
  char reason[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, reason, sizeof(reason),
                 nullptr);
  return reason;
}

std::string CopyErrorFor(const std::string& path, DWORD error) {
  return std::string(kCopyError) + "\n" + path + "\n\n" + SystemReason(error);
}

std::string AsShown(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace testing_support
