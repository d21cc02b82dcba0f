#pragma once
// The kill sweep: a standalone installation over an earlier version, then one
// into a fresh folder, each killed at points spread over its writes. Over
// the earlier version every file must be whole after each kill, of either
// version; in both, a second run must leave the newer version whole with
// nothing beside it, show its success and record every file.
#include <windows.h>

#include <string>

#include "tests/support/Projects.h"

namespace sweep {

// 0 when every kill point holds, 1 otherwise; one line per kill point.
int KillSweep(testing_support::Arch arch, const std::string& stub, DWORD timeoutMs);

}  // namespace sweep
