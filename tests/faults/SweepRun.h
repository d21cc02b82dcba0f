#pragma once
// One run of the stub's test variant with one system call made to fail,
// driven as a user would (Install pressed, every message answered), and its
// outcome: a message that names the problem, a documented success, or a
// fault.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/faults/SweepScene.h"

namespace sweep {

// The seam's calls in a run, by number from 1: each one's function name.
struct SeamLog {
  std::vector<std::string> calls;
  std::string failed;  // the function that failed, or empty
  bool exited = false;  // the run ended through ExitProcess, not a crash
  bool held = false;    // the stub reached the call it was to wait at
};
SeamLog ReadSeamLog(const std::string& path);

struct RunResult {
  std::vector<std::string> boxes;  // "caption: text" of each message box
  bool success = false;
  bool timedOut = false;
  bool killed = false;  // killed where it was held
  DWORD exitCode = 0;
  SeamLog seam;
  std::vector<Problem> problems;
};

// failAt 0: nothing fails (a counting run). holdAt: the call the stub is
// made to wait at, where it is killed as a power cut would end it.
RunResult RunOnce(const Scene& scene, bool over, int failAt, DWORD timeoutMs, int holdAt = 0,
                  bool earlierVersion = false);

enum class Outcome { kMessage, kDocumented, kWhole, kFault };
const char* OutcomeName(Outcome outcome);

struct Verdict {
  Outcome outcome;
  std::string why;
};

// The documented successes and what each allows; a success otherwise must
// leave everything in place and show no other message.
Verdict Classify(Flow flow, const RunResult& run);

// The documented successes as a reader sees them, for the table's notes.
std::vector<std::string> DocumentedSuccesses();

}  // namespace sweep
