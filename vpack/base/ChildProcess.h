#pragma once
// Runs another program for vpack and reports how it ended in words fit for
// a one-line message.
#include <string>
#include <vector>

namespace vpack {

struct ChildOutcome {
  bool succeeded = false;  // exited with status 0
  std::string ending;      // "exited with status 3", "was killed by signal 9",
                           // "cannot start its program \"signtool\""
  std::string lastError;   // the last non-empty line it wrote to stderr
};

// arguments[0] is looked up in PATH; folder (when not empty) is where it
// runs. Its standard output is discarded, since vpack's own is its summary;
// its stderr is read for the last line. A program that cannot be started
// ends so, named, with the reason as that line.
ChildOutcome RunChild(const std::vector<std::string>& arguments, const std::string& folder);

// Runs a command line through the system's shell: /bin/sh -c on Linux,
// cmd.exe /c on Windows.
ChildOutcome RunShell(const std::string& text, const std::string& folder);
// A path quoted for that shell, to go into such a command line.
std::string ShellQuoted(const std::string& path);

// The last non-empty line of a program's stderr.
std::string LastLine(const std::string& text);

}  // namespace vpack
