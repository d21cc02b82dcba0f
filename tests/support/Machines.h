#pragma once
// A test run once per stub machine, as a parameter: the instance is named
// after the machine, so that "*I686*" selects the release stub's runs (the
// e2e.i686 suite under emulation) and "-*I686*" leaves them out.
#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>

#include "tests/support/InstallerRun.h"
#include "tests/support/Projects.h"

namespace testing_support {

struct Machine {
  Arch arch;
  // How long one run of its stub may take.
  DWORD timeoutMs;
  const char* name;
};

inline const Machine kMachines[] = {{Arch::kX64, kRunMs, "X64"}, {Arch::kI686, kRunMsI686, "I686"}};

inline std::string MachineName(const ::testing::TestParamInfo<Machine>& info) { return info.param.name; }

// As the test's output names the parameter.
inline void PrintTo(const Machine& machine, std::ostream* out) { *out << machine.name; }

// Fixture F, once per machine.
template <typename F>
class OnEachMachine : public F, public ::testing::WithParamInterface<Machine> {};

}  // namespace testing_support
