// verify says which switches an installer takes for an unattended
// installation, known by its stub's own version: stubs of 1.3.0 and later
// take /S, /D= and /LOG=. A publisher's branding replaces the stub's version
// resource, so the stub's own version must survive it, whatever version the
// publisher gives.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>

#include "tests/support/PackProject.h"
#include "tests/support/StubImage.h"
#include "tests/support/VpackRun.h"

namespace {

class Switches : public testing_support::VpackFolderTest {};

TEST_F(Switches, VerifySaysThemByTheStubsOwnVersion_BrandedToo) {
  const std::string stubs = VDL_STUBS_X64;
  if (!testing_support::FileExists(stubs + "/VandrelStubAdmin.exe")) GTEST_SKIP() << "no Windows build: " << stubs;
  struct Case {
    std::string stub;      // --stub
    uint16_t machine;      // the stub's
    std::string branding;  // the publisher's version below the stub's
    std::string line;
    nlohmann::json switches;
    nlohmann::json stubVersion;
  } cases[] = {
      {stubs, testing_support::kAmd64, "", "switches: /S /D= /LOG= /LANG=", {"/S", "/D=", "/LOG=", "/LANG="}, VDL_STUB_VERSION},
      {stubs, testing_support::kAmd64, "[branding]\nfile-version = \"0.9.0.0\"\ncompany-name = \"Vandrel Tours\"\n", "switches: /S /D= /LOG= /LANG=",
       {"/S", "/D=", "/LOG=", "/LANG="}, VDL_STUB_VERSION},
      // A stub without version information comes from before 1.3.0.
      {"stub.exe", testing_support::kI386, "", "switches: none (stub before 1.3.0)", nlohmann::json::array(), "0.0.0.0"},
  };
  for (const Case& c : cases) {
    Put("tour.toml", testing_support::WriteRuntimeProject(dir_, 2, c.machine) + c.branding);
    testing_support::VpackOutcome pack = Vpack("pack tour.toml -o setup.exe --stub " + c.stub);
    ASSERT_EQ(0, pack.status) << c.stub << c.branding << pack.err;
    testing_support::VpackOutcome verify = Vpack("verify setup.exe");
    EXPECT_EQ(0, verify.status) << verify.err;
    EXPECT_NE(std::string::npos, verify.out.find("setup.exe: " + c.line + "\n")) << c.stub << c.branding << verify.out;
    nlohmann::json result = nlohmann::json::parse(Vpack("verify setup.exe --json").out)[0];
    EXPECT_EQ(c.switches, result["switches"]) << c.stub << c.branding;
    EXPECT_EQ(c.stubVersion, result["stub-version"]) << c.stub << c.branding;
  }
}

}  // namespace
