// vpack list as its users run it: what an installer holds, in JSON, and
// its names as the installer's code page spells them.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "packager/PayloadBuilder.h"
#include "payload/PayloadReader.h"
#include "tests/support/VpackProjectTest.h"

using testing_support::ReadFileBytes;

namespace {

using Outcome = testing_support::VpackOutcome;
using ListCommand = testing_support::VpackProjectTest;

TEST_F(ListCommand, Json_StoreUnpackedSizeListsAndSettings) {
  Put("tour.toml", GoodManifest());
  ASSERT_EQ(Vpack("pack tour.toml -o setup.exe").status, 0);
  Outcome run = Vpack("list setup.exe --json");
  ASSERT_EQ(run.status, 0) << run.err;
  nlohmann::json listing = nlohmann::json::parse(run.out);
  EXPECT_EQ(listing["stub"], stub_.size());
  std::map<std::string, nlohmann::json> byName;
  for (const nlohmann::json& item : listing["items"]) byName[item["name"]] = item;
  ASSERT_EQ(byName.size(), 23u) << run.out;
  EXPECT_EQ(byName["VandrelViewer.exe"]["store"], "zlib");
  EXPECT_EQ(byName["VandrelViewer.exe"]["unpacked"], ReadFileBytes(dir_.File("runtime/VandrelViewer.exe")).size());
  EXPECT_EQ(byName["VandrelViewer.exe"]["lists"], nlohmann::json::array());
  EXPECT_EQ(byName["channels\\Lights.dll"]["lists"], nlohmann::json::array({"channel-modules"}));
  EXPECT_EQ(byName["scene.vdl"]["store"], "engine");
  EXPECT_TRUE(byName["scene.vdl"]["unpacked"].is_null());
  EXPECT_EQ(byName["scene.vdl"]["lists"], nlohmann::json::array({"project"}));
  EXPECT_EQ(byName["music.cgr"]["store"], "engine");
  EXPECT_EQ(byName["music.cgr"]["lists"], nlohmann::json::array({"project"}));
  EXPECT_EQ(byName["ProjectType"]["type"], "APPDATA");
  EXPECT_EQ(byName["ProjectType"]["size"], 4);
  EXPECT_EQ(listing["settings"], nlohmann::json({{"ProjectType", 1}, {"CheckDx8", 0}, {"CodePage", 1252}}));
  // The plan shows the settings the installer will hold in the same shape.
  Outcome plan = Vpack("pack tour.toml --dry-run --json");
  ASSERT_EQ(plan.status, 0) << plan.err;
  EXPECT_EQ(listing["settings"], nlohmann::json::parse(plan.out)["settings"]) << plan.out;
  EXPECT_TRUE(listing["version"].is_null());
  // A damaged setting is shown as the installer takes it: not at all.
  packager::Bytes payload = ListsOnly(0x0BADF00D, {}).Build(static_cast<uint32_t>(stub_.size()));
  const uint8_t value[] = {0x0D, 0xF0, 0xAD, 0x0B};
  auto at = std::search(payload.begin(), payload.end(), std::begin(value), std::end(value));
  ASSERT_NE(payload.end(), at);
  *at ^= 1;
  Put("damaged.exe", stub_ + std::string(payload.begin(), payload.end()));
  nlohmann::json damaged = nlohmann::json::parse(Vpack("list damaged.exe --json").out);
  EXPECT_TRUE(damaged["settings"]["ProjectType"].is_null()) << damaged["settings"];
}

TEST_F(ListCommand, NamesReadBackFromTheCodePageAsUtf8) {
  Put("tour.toml", "code-page = 1251\n" + runtime_ +
                       File("\u0441\u0446\u0435\u043d\u0430.vdl", "scene.txt", "list = \"project\"\n"));
  ASSERT_EQ(0, Vpack("pack tour.toml -o setup.exe").status);
  std::string readerPath = dir_.File("setup.exe");
  payload::PayloadReader reader(readerPath.c_str());
  EXPECT_TRUE(reader.ReadItem("\xF1\xF6\xE5\xED\xE0.vdl", nullptr, 0, "APPDATA"));
  struct Case {
    const char* option;
    const char* name;
  } cases[] = {{"", "\u0441\u0446\u0435\u043d\u0430.vdl"},  // as the installer records
               {" --code-page 1252", "\u00f1\u00f6\u00e5\u00ed\u00e0.vdl"}};
  for (const Case& c : cases) {
    Outcome run = Vpack(std::string("list setup.exe --json") + c.option);
    ASSERT_EQ(0, run.status) << run.err;
    nlohmann::json listing = nlohmann::json::parse(run.out);
    bool found = false;
    for (const nlohmann::json& item : listing["items"]) found = found || item["name"] == c.name;
    EXPECT_TRUE(found) << c.option << "\n" << run.out;
  }
}

}  // namespace
