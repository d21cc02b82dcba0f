// The DirectX probe in a process of its own under Wine's DLL overrides, which
// take components away one at a time.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/ScopedHandle.h"
#include "tests/support/Environment.h"
#include "tests/support/TestInstaller.h"

namespace {

// What the probe program printed, run with the given overrides.
std::string Probe(const char* overrides) {
  testing_support::ScopedDllOverride variable("dx_probe.exe", overrides);
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return "no pipe";
  platform::ScopedFile reader(readEnd);
  platform::ScopedFile writer(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process = {};
  std::string command = "\"" VDL_DX_PROBE "\"";
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    return "not started";
  }
  platform::ScopedKernelObject processHandle(process.hProcess);
  platform::ScopedKernelObject thread(process.hThread);
  writer.Reset();
  std::string output;
  char buffer[512];
  DWORD got = 0;
  while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    for (DWORD i = 0; i < got; ++i) {
      if (buffer[i] != '\r') output += buffer[i];
    }
  }
  WaitForSingleObject(process.hProcess, 60000);
  return output;
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
