// vpack verify as its users run it: the real program on installers it made
// and on installers made to break it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <nlohmann/json.hpp>

#include "packager/PayloadBuilder.h"
#include "payload/PayloadReader.h"
#include "tests/support/StubImage.h"
#include "tests/support/VpackProjectTest.h"
#include "vpack/pe/ResourceSection.h"
#include "vpack/pe/VersionResource.h"

using testing_support::ReadFileBytes;
using testing_support::Str;

namespace {

using Outcome = testing_support::VpackOutcome;
using VerifyCommand = testing_support::VpackProjectTest;

TEST_F(VerifyCommand, DamagedItem_NamesItAndFails) {
  // Stored raw (a warning), so that its bytes can be found and damaged.
  std::string manifest = GoodManifest();
  manifest.replace(manifest.rfind("store = \"engine\""), 16, "store = \"raw\"");
  Put("tour.toml", manifest);
  ASSERT_EQ(Vpack("pack tour.toml -o setup.exe").status, 0);
  std::string image = ReadFileBytes(dir_.File("setup.exe"));
  size_t at = image.find("raw bytes");
  ASSERT_NE(at, std::string::npos);
  image[at] = 'R';
  Put("setup.exe", image);
  Outcome run = Vpack("verify setup.exe");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("APPDATA \"music.cgr\": checksum"), std::string::npos) << run.err;
}

// The payload holds names in the publisher's code page: extract writes them,
// and verify and extract name them, in UTF-8, read in the code page given.
TEST_F(VerifyCommand, NamesInCodePage_WrittenAndShownInUtf8) {
  packager::PayloadBuilder builder = ListsOnly(1, {"men\xFC.vdl"});
  builder.AddRaw("caf\xE9.txt", packager::Bytes{'c'});
  builder.AddRaw("men\xFC.vdl", packager::Bytes{'m'});  // listed, so decoded, but not in the engine format
  PutInstaller("setup.exe", builder);
  struct {
    std::string option, folder, written, named;
  } pages[] = {{"", "out1252", "caf\xC3\xA9.txt", "APPDATA \"men\xC3\xBC.vdl\": "},
               {" --code-page 1251", "out1251", "caf\xD0\xB9.txt", "APPDATA \"men\xD1\x8C.vdl\": "}};
  for (const auto& page : pages) {
    Outcome verify = Vpack("verify setup.exe" + page.option);
    EXPECT_NE(verify.err.find(page.named), std::string::npos) << page.folder << verify.err;
    Outcome extract = Vpack("extract setup.exe -o " + page.folder + page.option);
    EXPECT_EQ(ReadFileBytes(dir_.File(page.folder + "/" + page.written)), "c") << page.folder;
    EXPECT_NE(extract.err.find(page.named), std::string::npos) << page.folder << extract.err;
  }
}

TEST_F(VerifyCommand, MissingSettingsAndUntaggedFiles_Reported) {
  // A standalone project without its settings, and a listed file stored raw:
  // pack refuses it, and verify names both in an installer made without it.
  Put("thin.toml",
      Manifest("ProjectType = 2\n", File("scene.vdl", "scene.txt", "store = \"raw\"\nlist = \"project\"\n")));
  Outcome pack = Vpack("pack thin.toml -o setup.exe");
  ASSERT_EQ(pack.status, 1) << pack.err;
  EXPECT_NE(pack.err.find("file \"scene.vdl\": store raw"), std::string::npos) << pack.err;
  packager::PayloadBuilder builder = ListsOnly(2, {"scene.vdl"});
  builder.AddRaw("scene.vdl", packager::Bytes{'s'});
  PutInstaller("setup.exe", builder);
  Outcome run = Vpack("verify setup.exe");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("\"ShortCutName\": missing"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("\"scene.vdl\": not in the engine format"), std::string::npos) << run.err;
  // Each problem on a line of its own, so that none hides another.
  EXPECT_NE(run.err.find("vpack: setup.exe: APPDATA \"Tessaron.dll\": missing; every project type extracts it\n"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(run.out, "");
}

// Bytes made to break a reader: each installer still gets its own verdict,
// and JSON stays JSON whatever text the file holds.
TEST_F(VerifyCommand, CraftedInstallers_EachItsVerdictAndValidJson) {
  Put("tour.toml", GoodManifest());
  ASSERT_EQ(Vpack("pack tour.toml -o good.exe").status, 0);
  std::string crafted = testing_support::StubImage(1024, testing_support::StubVariant::kAdmin);
  testing_support::PutResourceTree(crafted, "", 0xFFFFFFFF);
  Put("crafted.exe", crafted + Str(ListsOnly(2, {}).Build(static_cast<uint32_t>(crafted.size()))));
  Put("appended.exe", ReadFileBytes(dir_.File("good.exe")) + "appended");
  Outcome verify = Vpack("verify --json crafted.exe good.exe appended.exe missing.exe");
  EXPECT_EQ(verify.status, 1);
  nlohmann::json verdicts = nlohmann::json::parse(verify.out);
  ASSERT_EQ(verdicts.size(), 4u) << verify.out;
  EXPECT_NE(verdicts[0]["problems"].dump().find("stating 4294967295 bytes"), std::string::npos) << verify.out;
  EXPECT_EQ(verdicts[1]["installer"], "good.exe");
  EXPECT_EQ(verdicts[1]["intact"], true);
  EXPECT_EQ(verdicts[1]["signed"], false);
  EXPECT_EQ(verdicts[1]["problems"], nlohmann::json::array()) << verify.out;
  EXPECT_FALSE(verdicts[2]["intact"]);
  EXPECT_NE(verdicts[2]["problems"].dump().find("8 bytes follow the payload"), std::string::npos) << verify.out;
  EXPECT_FALSE(verdicts[3]["intact"]);
  EXPECT_NE(verdicts[3]["problems"].dump().find("cannot be read"), std::string::npos) << verify.out;
  // In words: each installer's verdict, the switches it takes and its code
  // page, three lines each.
  Outcome text = Vpack("verify good.exe good.exe");
  EXPECT_EQ(0, text.status) << text.err;
  EXPECT_NE(std::string::npos, text.out.find("all intact")) << text.out;
  EXPECT_EQ(6, std::count(text.out.begin(), text.out.end(), '\n')) << text.out;

  // A type outside UTF-8 and a version string with a lone surrogate.
  vpack::VersionInfo version;
  version.strings = {{"CompanyName", "ABC"}};
  vpack::Resource resource;
  resource.type.id = vpack::kVersionResource;
  resource.name.id = 1;
  resource.data = vpack::BuildVersionResource(version);
  std::string data = Str(resource.data);
  data.replace(data.find(std::string("A\0B\0C", 5)), 2, std::string("\0\xD8", 2));
  resource.data.assign(data.begin(), data.end());
  std::string stub = testing_support::StubImage(4096);
  vpack::Bytes tree = vpack::BuildResources({resource}, 0x1000);
  testing_support::PutResourceTree(stub, Str(tree), static_cast<uint32_t>(tree.size()));
  packager::PayloadBuilder odd = ListsOnly(1, {});
  odd.Add("T\xC9ST", "item", packager::Bytes{1});
  Put("odd.exe", stub + Str(odd.Build(static_cast<uint32_t>(stub.size()))));
  Outcome list = Vpack("list --json odd.exe");
  ASSERT_EQ(list.status, 0) << list.err;
  nlohmann::json listing = nlohmann::json::parse(list.out);
  EXPECT_EQ(listing["items"].back()["type"], "T\u00c9ST");
  std::string company = listing["version"]["strings"]["CompanyName"];
  EXPECT_EQ(company.substr(0, 3), "\ufffd") << company;
  EXPECT_EQ(company.substr(company.size() - 2), "BC") << company;
}

TEST_F(VerifyCommand, NoPayload_Fails) {
  Outcome run = Vpack("verify stub.exe");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no payload found"), std::string::npos) << run.err;
  // A file that is not there is named once, by the line's prefix.
  EXPECT_EQ("vpack: gone.exe: cannot be read: No such file or directory\n", Vpack("verify gone.exe").err);
}

}  // namespace
