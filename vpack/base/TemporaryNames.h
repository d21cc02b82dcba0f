#pragma once
// The temporary files pack writes beside its output, and the removal of
// those a killed pack left behind. Each name carries the writer's machine
// and process id: OUTPUT.vpack-HOST-PID-N (the installer as written), and
// the same with "-signed" (a signing command's result). HOST is the machine's
// name with every character but ASCII letters and digits made "_".
#include <string>

namespace vpack {

std::string TemporaryName(const std::string& target, const std::string& host, int pid, int attempt);
// This machine's part of the names.
std::string HostTag();

// Removes the temporaries of target whose writer is gone. Of this machine's:
// no process has their id any more, or the one that has it started after
// the file was last written (the id was used again). Of another machine's
// (an output folder shared between build machines), whose processes this
// one cannot see: those not written for a day. A running pack's files stay,
// as does any file of another pattern. Returns how many were removed;
// failures to remove are left for the next pack.
size_t RemoveStaleTemporaries(const std::string& target);

}  // namespace vpack
