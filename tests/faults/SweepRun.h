#pragma once
// One run of the stub's test variant with one system call made to fail,
// driven as a user would (Install pressed, every message answered), and its
// outcome: a message that names the problem, a documented success, or a
// fault.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/faults/SweepScene.h"
#include "tests/support/SeamLog.h"

namespace sweep {

using testing_support::ReadSeamLog;
using testing_support::SeamLog;

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
