// The DirectX probe in a process of its own under Wine's DLL overrides, which
// take components away one at a time.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/ChildProcess.h"
#include "tests/support/Environment.h"
#include "tests/support/TestInstaller.h"

namespace {

// What the probe program printed, run with the given overrides.
std::string Probe(const char* overrides) {
  testing_support::ScopedDllOverride variable("dx_probe.exe", overrides);
  testing_support::ChildOutcome run = testing_support::RunCapturing("\"" VDL_DX_PROBE "\"");
  return run.status == -1 ? "not run to its end" : run.out;
}

TEST(DirectXProbe, EachMissingComponent_ItsCodeAndLine) {
  const struct {
    const char* overrides;
    const char* output;
  } cases[] = {
      {"", "code 0x801\n"},
      {"ddraw", "code 0x0\n"},
      {"dinput", "line Couldn't LoadLibrary DInput\\r\\n\ncode 0x200\n"},
      {"dmusic", "line Couldn't create CLSID_DirectMusic\\r\\n\ncode 0x600\n"},
      {"d3d8", "code 0x700\n"},
      {"dpnhpast;d3d9", "line Couldn't LoadLibrary dpnhpast.dll\\r\\n\ncode 0x800\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.output, Probe(c.overrides)) << c.overrides;
}

TEST(DirectXProbe, NoNatHelperButDirect3D9_CountsAsEightPointOne) {
  EXPECT_EQ("code 0x801\n", Probe("dpnhpast"));
}

}  // namespace
