#pragma once
// What vpack asks the system about processes: its own id, file and
// environment, and when another process started, to tell a running pack's
// temporaries from those a killed one left.
#include <optional>
#include <string>

namespace vpack {

int CurrentProcessId();

// This machine's name, as the system gives it; empty when it cannot be told.
std::string HostName();

// When the process with this id started, in seconds since the epoch; -1 when
// no process has the id, 0 when one has but its start is not known.
double ProcessStartedAt(int pid);

// When a file was last written, in seconds since the epoch; -1 when it
// cannot be told. A link is not followed.
double FileWrittenAt(const std::string& path);

// The running program's file, not argv[0]: vpack may be started through a
// link or from PATH. Empty when it cannot be told.
std::string OwnProgram();

// An environment variable's value in UTF-8; none when it is not set.
std::optional<std::string> EnvironmentVariable(const std::string& name);

}  // namespace vpack
