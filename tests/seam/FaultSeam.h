#pragma once
// The test variant of the stub routes every system call that can fail
// through one seam, so that a test can make the Nth of them fail as a real
// machine would (a full disk, a file held by a scanner, no memory left) and
// see what the user is told. The release stub has no such seam.
#include <windows.h>

namespace faults {

// Read from the environment of the test variant only:
//   VDL_FAULT_AT    the call to fail, counted from 1 over every seam call
//                   of the thread that runs the installation;
//                   absent or 0: none fails (a counting run).
//   VDL_FAULT_HOLD  the call at which the stub stops and waits, before making
//                   it, for a test to kill it there.
//   VDL_FAULT_DENY  the end of a path: an existing file there refuses being
//                   opened for writing, access denied, as one whose
//                   permissions deny it does.
//   VDL_FAULT_LOG   a file (Windows path) that receives one line per call:
//                   "N Name", "N Name failed" or "N Name held", and "exit".
// Redirects the module's own imports to the seam; call before anything else.
void InstallSeam(HMODULE module);

}  // namespace faults
