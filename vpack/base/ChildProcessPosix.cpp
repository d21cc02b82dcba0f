#include "vpack/base/ChildProcess.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include "vpack/base/Error.h"

namespace vpack {
namespace {

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void StartChild(const std::vector<std::string>& arguments, const std::string& folder, int errorFd) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  int null = open("/dev/null", O_WRONLY);
  if (null >= 0) dup2(null, STDOUT_FILENO);
  dup2(errorFd, STDERR_FILENO);
  const char* failed = nullptr;
  if (!folder.empty() && chdir(folder.c_str()) != 0) {
    failed = "cannot enter its folder: ";
  } else {
    execvp(argv[0], argv.data());
    failed = "cannot be started: ";
  }
  const char* reason = strerror(errno);
  (void)!write(STDERR_FILENO, failed, strlen(failed));
  (void)!write(STDERR_FILENO, reason, strlen(reason));
  _exit(127);
}

}  // namespace

ChildOutcome RunChild(const std::vector<std::string>& arguments, const std::string& folder) {
  int pipeFds[2];
  if (arguments.empty() || pipe2(pipeFds, O_CLOEXEC) != 0)
    throw Error("cannot start a command: " + std::string(strerror(errno)));
  pid_t child = fork();
  if (child < 0) throw Error("cannot start " + Quoted(arguments[0]) + ": " + strerror(errno));
  if (child == 0) StartChild(arguments, folder, pipeFds[1]);
  close(pipeFds[1]);
  std::string errors;
  char buffer[4096];
  for (ssize_t got; (got = read(pipeFds[0], buffer, sizeof(buffer))) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    errors.append(buffer, static_cast<size_t>(got));
    // Only the end matters; a chatty tool must not fill memory.
    if (errors.size() > 65536) errors.erase(0, errors.size() - 16384);
  }
  close(pipeFds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  ChildOutcome outcome;
  outcome.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  outcome.ending = WIFSIGNALED(status) ? "was killed by signal " + std::to_string(WTERMSIG(status))
                                       : "exited with status " + std::to_string(WEXITSTATUS(status));
  outcome.lastError = LastLine(errors);
  const std::string notStarted = "cannot be started: ";
  if (!outcome.succeeded && outcome.lastError.rfind(notStarted, 0) == 0) {
    outcome.ending = "cannot start its program " + Quoted(arguments[0]);
    outcome.lastError.erase(0, notStarted.size());
  }
  return outcome;
}

ChildOutcome RunShell(const std::string& text, const std::string& folder) {
  return RunChild({"/bin/sh", "-c", text}, folder);
}

std::string ShellQuoted(const std::string& path) {
  std::string quoted = "'";
  for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace vpack
