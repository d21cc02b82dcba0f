#pragma once
// Faults of today's stub that the fault sweep finds, each to be fixed and
// then taken off the list (KnownFaults.cpp). The sweep fails on any fault
// that is not on it.
#include <string>

#include "tests/faults/SweepScene.h"

namespace sweep {

// Flow, installation ("fresh" or "over"), the failed function and which of
// its calls (1 = its first in the run), and why it is a fault.
struct Known {
  Flow flow;
  const char* installation;
  const char* call;
  int occurrence;
  const char* reason;
};

// The entry for that failed call, or null.
const Known* FindKnown(Flow flow, const char* installation, const std::string& call, int occurrence);

}  // namespace sweep
