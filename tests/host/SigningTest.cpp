// pack signing the installer it writes, with osslsigncode and a certificate
// made for the test, and verify telling a signed installer from another.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "tests/support/PackProject.h"
#include "tests/support/TempDir.h"
#include "tests/support/VpackRun.h"

using testing_support::ReadFileBytes;
using testing_support::TempDir;

namespace {

class SigningTest : public testing_support::VpackFolderTest {
 protected:
  void SetUp() override {
    manifest_ = testing_support::WriteRuntimeProject(dir_, 1);
    std::string make = "cd '" + dir_.Path() +
                       "' && openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Vandrel Test Publisher' "
                       "-keyout key.pem -out cert.pem 2>/dev/null";
    ASSERT_EQ(0, system(make.c_str()));
  }

  void PutManifest(const std::string& name, const std::string& extra) { Put(name, manifest_ + extra); }

  bool TemporaryLeft() const { return system(("ls -a '" + dir_.Path() + "' | grep -q vpack-").c_str()) == 0; }

  std::string manifest_;
};

constexpr char kOsslSign[] = "osslsigncode sign -certs cert.pem -key key.pem -n Tour";

TEST_F(SigningTest, ManifestOrCommandLine_SignedInstallerVerifiesClean) {
  // The manifest's command runs without a shell in the manifest's folder, so
  // its relative paths are the manifest's; the output lies elsewhere.
  PutManifest("base.toml", "");
  testing_support::PutFile(
      dir_, "project/tour.toml",
      "include = \"../base.toml\"\n[vars]\nkeys = \"..\"\n[signing]\ncommand = [\"osslsigncode\", "
      "\"sign\", \"-certs\", \"${keys}/cert.pem\", \"-key\", \"${keys}/key.pem\", \"-in\", \"{in}\", "
      "\"-out\", \"{out}\"]\n");
  auto fromManifest = Vpack("pack project/tour.toml -o setup.exe");
  ASSERT_EQ(0, fromManifest.status) << fromManifest.err;
  EXPECT_NE(std::string::npos, fromManifest.out.find(", signed")) << fromManifest.out;
  // The command line's form goes through the shell: the paths are quoted
  // (a space here), and a tool that signs in place needs no {out}.
  PutManifest("plain.toml", "");
  std::string inPlace = std::string(kOsslSign) + " -in {in} -out {in}.x && mv {in}.x {in}";
  auto fromCommandLine = Vpack("pack plain.toml -o 'my setup.exe' --sign-command '" + inPlace + "'");
  ASSERT_EQ(0, fromCommandLine.status) << fromCommandLine.err;
  ASSERT_EQ(0, Vpack("pack plain.toml -o unsigned.exe").status);

  struct Case {
    const char* installer;
    const char* says;
  } cases[] = {{"setup.exe", "all intact, signed (Authenticode"},
               {"'my setup.exe'", "all intact, signed (Authenticode"},
               {"unsigned.exe", "all intact, not signed"}};
  for (const Case& c : cases) {
    auto verify = Vpack(std::string("verify ") + c.installer);
    EXPECT_EQ(0, verify.status) << c.installer << verify.err;
    EXPECT_NE(std::string::npos, verify.out.find(c.says)) << verify.out;
  }
  EXPECT_FALSE(TemporaryLeft());
}

TEST_F(SigningTest, FailedSigning_EarlierOutputKeptAndReasonInOneLine) {
  PutManifest("tour.toml", "");
  ASSERT_EQ(0, Vpack("pack tour.toml -o setup.exe").status);
  std::string earlier = ReadFileBytes(dir_.File("setup.exe"));
  struct Case {
    std::string command;
    const char* says;
    bool inManifest = false;
  } cases[] = {
      {"no-such-signing-tool", "signing command cannot start its program \"no-such-signing-tool\": ", true},
      {std::string(kOsslSign) + " -in {in} -out {out} -pass wrong -key missing.pem",
       "--sign-command exited with status 255: "},
      {"test -f {in}; echo first >&2; echo the last line >&2; exit 3",
       "--sign-command exited with status 3: the last line"},
      {"no-such-signing-tool {in} {out}", "exited with status 127: "},
      {"kill -9 $$ {in}", "was killed by signal 9"},
      {"cp {in} {out}", "succeeded but the installer carries no Authenticode signature"},
      {"test -f {in} && echo not an installer > {out}", "is no longer the installer"},
      {"osslsigncode sign -in {input} -out {out}", "unknown placeholder \"{input}\""},
      {"osslsigncode sign -in installer.exe", "it needs {in}"},
  };
  for (const Case& c : cases) {
    // A manifest's command runs without a shell, so vpack itself starts it.
    if (c.inManifest) PutManifest("listed.toml", "[signing]\ncommand = [\"" + c.command + "\", \"{in}\"]\n");
    auto run = c.inManifest ? Vpack("pack listed.toml -o setup.exe")
                            : Vpack("pack tour.toml -o setup.exe --sign-command '" + c.command + "'");
    EXPECT_EQ(1, run.status) << c.command;
    EXPECT_NE(std::string::npos, run.err.find(c.says)) << c.command << "\n" << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_EQ(earlier, ReadFileBytes(dir_.File("setup.exe"))) << c.command;
    EXPECT_FALSE(TemporaryLeft()) << c.command;
  }
}

}  // namespace
