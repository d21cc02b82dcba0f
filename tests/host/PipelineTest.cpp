// vpack in a build pipeline: variables from the command line and the
// environment, a dry run, several installers verified at once as JSON, the
// temporaries of a killed pack, and help.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <nlohmann/json.hpp>
#include <string>

#include "payload/PayloadReader.h"
#include "vpack/base/TemporaryNames.h"
#include "tests/support/PackProject.h"
#include "tests/support/TempDir.h"
#include "tests/support/VpackRun.h"

using testing_support::FileExists;
using testing_support::TempDir;

namespace {

constexpr char kFileType[] = "APPDATA";

class PipelineTest : public testing_support::VpackFolderTest {
 protected:
  void SetUp() override {
    head_ = testing_support::WriteRuntimeProject(dir_, 1);
    Put("a.txt", "scene a");
    Put("b.txt", "scene b");
  }


  // The scene's source comes from a variable the shared manifest defaults.
  void PutProject(const std::string& source) {
    Put("shared.toml",
        "[vars]\nscene = \"a.txt\"\n[[file]]\nname = 'scene.vdl'\nsource = \"" + source + "\"\nlist = \"project\"\n");
    Put("tour.toml", "include = \"shared.toml\"\n" + head_);
  }

  std::string head_;
};

TEST_F(PipelineTest, Variables_CommandLineWinsAndEnvironmentRead) {
  setenv("VDL_PIPELINE_SCENE", "b.txt", 1);
  unsetenv("VDL_PIPELINE_UNSET");
  struct Case {
    const char* source;
    const char* arguments;
    const char* from;  // the scene's source, or the error's text
  } cases[] = {
      {"${scene}", "", "a.txt"},
      {"${scene}", "--var scene=b.txt", "b.txt"},
      {"${env:VDL_PIPELINE_SCENE}", "", "b.txt"},
      {"${env:VDL_PIPELINE_UNSET}", "",
       "shared.toml:5:10: file \"scene.vdl\" source uses environment variable \"VDL_PIPELINE_UNSET\", which is not "
       "set"},
      {"${other}", "--var scene=b.txt", "shared.toml:5:10: file \"scene.vdl\" source uses unknown variable \"other\""},
      {"${scene}", "--var nosuch=1", "vpack: error: --var \"nosuch\": no manifest declares it in [vars] or uses"},
  };
  for (const Case& c : cases) {
    PutProject(c.source);
    auto run = Vpack(std::string("pack tour.toml --dry-run --json ") + c.arguments);
    if (run.status != 0) {
      EXPECT_NE(std::string::npos, run.err.find(c.from)) << c.source << run.err;
      EXPECT_EQ(1, run.status);
      continue;
    }
    nlohmann::json plan = nlohmann::json::parse(run.out);
    std::string source;
    for (const auto& item : plan["items"]) {
      if (item["name"] == "scene.vdl") source = item["source"];
    }
    EXPECT_EQ(source, c.from) << c.source << " " << c.arguments;
  }
}

TEST_F(PipelineTest, DryRun_PlanMatchesPackAndWritesNothing) {
  PutProject("${scene}");
  auto dry = Vpack("pack tour.toml -o setup.exe --dry-run --json");
  ASSERT_EQ(0, dry.status) << dry.err;
  EXPECT_FALSE(FileExists(dir_.File("setup.exe")));
  EXPECT_NE(0, system(("ls -a '" + dir_.Path() + "' | grep -q vpack-").c_str()));
  nlohmann::json plan = nlohmann::json::parse(dry.out);
  auto text = Vpack("pack tour.toml --dry-run");
  ASSERT_EQ(0, text.status) << text.err;
  ASSERT_EQ(0, Vpack("pack tour.toml -o setup.exe").status);
  nlohmann::json written = nlohmann::json::parse(Vpack("list setup.exe --json").out);
  const nlohmann::json& items = written["items"];
  for (const nlohmann::json& planned : plan["items"]) {
    std::string name = planned["name"];
    auto item = std::find_if(items.begin(), items.end(), [&](const nlohmann::json& i) { return i["name"] == name; });
    ASSERT_NE(items.end(), item) << name;
    EXPECT_EQ(planned["store"], (*item)["store"]) << name;
    EXPECT_EQ(planned["list"], (*item)["lists"].empty() ? "none" : (*item)["lists"][0]) << name;
    EXPECT_NE(std::string::npos, text.out.find(name + "  " + planned["store"].get<std::string>())) << text.out;
  }
  // The room the installation takes: each source as a disk of 4 KiB
  // clusters holds it, as the plan says and as the installer records it.
  uint64_t kib = 0;
  for (const nlohmann::json& planned : plan["items"]) {
    std::string source = planned["source"];
    if (source[0] != '/') source = dir_.File(source);
    kib += (testing_support::ReadFileBytes(source).size() + 4095) / 4096 * 4;
  }
  EXPECT_GT(kib, 0u);
  EXPECT_EQ(plan["space-needed"], nlohmann::json({{"folder-kib", kib}, {"module-kib", 0}}));
  std::string installer = dir_.File("setup.exe");
  payload::PayloadReader reader(installer.c_str());
  reader.LoadDirectory();
  uint8_t space[8] = {};
  ASSERT_TRUE(reader.ReadItem("SpaceNeeded", space, 8, "APPDATA"));
  EXPECT_EQ(kib, space[0] | space[1] << 8 | space[2] << 16 | static_cast<uint64_t>(space[3]) << 24);
  EXPECT_EQ(0, space[4] | space[5] | space[6] | space[7]);
  // Settings, files and the room needed are APPDATA items; the lists are of
  // their own types.
  EXPECT_EQ(plan["items"].size() + plan["settings"].size() + 1,
            std::count_if(items.begin(), items.end(), [](const nlohmann::json& i) { return i["type"] == kFileType; }));
  EXPECT_NE(std::string::npos, text.out.find("scene.vdl  engine, list project, from ")) << text.out;
  EXPECT_NE(std::string::npos, text.out.find("from a.txt  (shared.toml:3:1: file \"scene.vdl\")")) << text.out;
  std::string runtime = testing_support::PlaceIn("tour.toml", "include = \"shared.toml\"\n" + head_, "[[folder]]");
  EXPECT_NE(std::string::npos, text.out.find("(" + runtime + ": folder \"runtime\", item \"Tessaron.dll\")"))
      << text.out;
}

pid_t GonePid() {
  pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

TEST_F(PipelineTest, Pack_RemovesOnlyStaleTemporariesOfItsOutput) {
  PutProject("${scene}");
  std::string here = "setup.exe.vpack-" + vpack::HostTag() + "-", elsewhere = "setup.exe.vpack-otherbox-";
  std::string gone = std::to_string(GonePid()), alive = std::to_string(getpid());
  struct Case {
    std::string name;
    bool old;  // last written in 2000, before its pid's process started
    bool removed;
  } cases[] = {
      {here + gone + "-0", false, true},             // a killed pack's
      {here + gone + "-3-signed", false, true},      // a killed signing's
      {here + alive + "-0", true, true},             // its pid since reused
      {here + alive + "-0", false, false},           // a running pack's
      {elsewhere + gone + "-0", false, false},       // another machine's, maybe running
      {elsewhere + alive + "-0", true, true},        // another machine's, long dead
      {here + gone + "-0.bak", false, false},        // not the pattern
      {"setup.exe.vpack-" + gone + "-0", false, true},  // the first kit's, no machine: this one
      {"setup.exe.vpack-notes", false, false},
      {"other.exe.vpack-" + vpack::HostTag() + "-" + gone + "-0", false, false},  // another output's
  };
  for (const Case& c : cases) {
    Put(c.name, "left over");
    struct utimbuf year2000 = {946684800, 946684800};
    if (c.old) ASSERT_EQ(0, utime(dir_.File(c.name).c_str(), &year2000));
    auto run = Vpack("pack tour.toml -o setup.exe");
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(!c.removed, FileExists(dir_.File(c.name))) << c.name;
    unlink(dir_.File(c.name).c_str());
  }
}

}  // namespace
