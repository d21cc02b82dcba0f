#pragma once
// The temporary files pack writes beside its output, and the removal of
// those a killed pack left behind. Each name carries the writer's process
// id: OUTPUT.vpack-PID-N (the installer as written), and the same with
// "-signed" (a signing command's result).
#include <string>

namespace vpack {

std::string TemporaryName(const std::string& target, int pid, int attempt);

// Removes the temporaries of target whose writer is gone: no process has
// their id any more, or the one that has it started after the file was last
// written (the id was used again). A running pack's files stay, as does any
// file of another pattern. Returns how many were removed; failures to
// remove are left for the next pack.
size_t RemoveStaleTemporaries(const std::string& target);

}  // namespace vpack
