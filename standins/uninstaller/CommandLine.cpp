#include "standins/uninstaller/CommandLine.h"

#include <stdlib.h>

namespace uninstaller {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Backslashes count only in front of a quote: 2n+1 of them make n and a
// literal quote, 2n make n and leave the quote to open or close.
const char* ReadArgument(const char* p, std::string* argument) {
  bool quoted = false;
  while (*p != '\0' && (quoted || !IsBlank(*p))) {
    size_t slashes = 0;
    while (*p == '\\') ++slashes, ++p;
    if (*p == '"') {
      argument->append(slashes / 2, '\\');
      if (slashes % 2 == 1) {
        argument->push_back('"');
      } else if (quoted && p[1] == '"') {
        argument->push_back('"');
        ++p;
      } else {
        quoted = !quoted;
      }
      ++p;
    } else {
      argument->append(slashes, '\\');
      if (*p != '\0' && (quoted || !IsBlank(*p))) argument->push_back(*p++);
    }
  }
  return p;
}

bool ParsePid(const std::string& text, uint32_t* pid) {
  if (text.empty() || text.size() > 10) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  unsigned long long value = strtoull(text.c_str(), nullptr, 10);
  if (value == 0 || value > 0xFFFFFFFFull) return false;
  *pid = static_cast<uint32_t>(value);
  return true;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const char* line) {
  std::vector<std::string> arguments;
  const char* p = line != nullptr ? line : "";
  for (;;) {
    while (IsBlank(*p)) ++p;
    if (*p == '\0') break;
    std::string argument;
    p = ReadArgument(p, &argument);
    arguments.push_back(argument);
  }
  return arguments;
}

bool ParseOptions(const std::vector<std::string>& arguments, Options* options) {
  Options parsed;
  if (arguments.size() == 1 && arguments[0] == "--here") {
    parsed.mode = Mode::kHere;
  } else if (!arguments.empty()) {
    parsed.mode = Mode::kFrom;
    for (size_t i = 0; i < arguments.size(); i += 2) {
      if (i + 1 >= arguments.size()) return false;
      if (arguments[i] == "--from" && parsed.folder.empty()) {
        parsed.folder = arguments[i + 1];
      } else if (arguments[i] != "--wait" || parsed.waitForPid != 0 || !ParsePid(arguments[i + 1], &parsed.waitForPid)) {
        return false;
      }
    }
    if (parsed.folder.empty()) return false;
  }
  *options = parsed;
  return true;
}

std::string QuoteArgument(const std::string& argument) {
  std::string quoted = "\"";
  size_t slashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    quoted.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
    slashes = 0;
    quoted.push_back(c);
  }
  // Trailing ones are doubled so that they do not escape the closing quote.
  quoted.append(slashes * 2, '\\');
  quoted.push_back('"');
  return quoted;
}

}  // namespace uninstaller
