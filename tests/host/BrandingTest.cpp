// The publisher's icon and version information, packed into the real stubs
// and read back with the tests' own executable reader.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "payload/PayloadReader.h"
#include "tests/support/PackProject.h"
#include "tests/host/PeLayout.h"
#include "tests/support/StubImage.h"
#include "tests/support/TempDir.h"
#include "tests/support/VpackRun.h"
#include "vpack/manifest/Branding.h"
#include "vpack/manifest/Manifest.h"

using testing_support::FileExists;
using testing_support::ReadFileBytes;

namespace {

void Put16(std::string& out, uint32_t value) { out += {static_cast<char>(value), static_cast<char>(value >> 8)}; }
void Put32(std::string& out, uint32_t value) { Put16(out, value & 0xFFFF), Put16(out, value >> 16); }

// A square bitmap image with its mask: pixels of one value.
std::string Bitmap(uint32_t size, uint16_t bits, uint8_t fill) {
  std::string image;
  for (uint32_t v : {40u, size, 2 * size}) Put32(image, v);
  Put16(image, 1), Put16(image, bits);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  if (bits <= 8) image.append(4u << bits, '\0');
  image.append((size * bits + 31) / 32 * 4 * size, static_cast<char>(fill));
  image.append((size + 31) / 32 * 4 * size, '\0');
  return image;
}

// A PNG image as far as icons are concerned: its header chunk, then bulk.
std::string Png(uint32_t size, size_t length) {
  std::string image("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  for (uint32_t v : {size, size}) image += {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  image += std::string("\x08\x06\0\0\0", 5);
  image.resize(length, 'P');
  return image;
}

std::string Icon(const std::vector<std::pair<uint32_t, std::string>>& images) {
  std::string file;
  Put16(file, 0), Put16(file, 1), Put16(file, static_cast<uint32_t>(images.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (const auto& [size, data] : images) {
    file += {static_cast<char>(size & 0xFF), static_cast<char>(size & 0xFF), 0, 0};
    Put16(file, 1), Put16(file, 32), Put32(file, static_cast<uint32_t>(data.size())), Put32(file, offset);
    offset += static_cast<uint32_t>(data.size());
  }
  for (const auto& image : images) file += image.second;
  return file;
}

constexpr char kBranding[] =
    "[branding]\n"
    "icon = \"tour.ico\"\n"
    "file-version = \"1.4.0.12\"\n"
    "product-version = \"1.4.0.0\"\n"
    "product-name = \"Harbour Tour\"\n"
    "company-name = \"Vandrel Tours\"\n"
    "file-description = \"Harbour Tour Setup\"\n"
    "copyright = \"\xC2\xA9 2026 Vandrel Tours \xF0\x9F\x8C\x8A\"\n"
    "original-filename = \"HarbourTourSetup.exe\"\n";

class BrandingTest : public testing_support::VpackFolderTest {
 protected:
  using Outcome = testing_support::VpackOutcome;

  // A complete project of the installing type, which takes the admin stub.
  // The programs for the stub's machine: the real stubs of either build.
  void PutManifest(const std::string& branding, uint16_t machine = testing_support::kAmd64) {
    Put("tour.toml", testing_support::WriteRuntimeProject(dir_, 2, machine) + branding);
  }

  Outcome PackWith(const std::string& stub, const std::string& output = "setup.exe") {
    return Vpack("pack tour.toml -o " + output + " --stub " + stub);
  }

  // The image part of an installer: what precedes the payload's marker.
  std::string Image(const std::string& installer) {
    std::string readerPath = dir_.File(installer);
    payload::PayloadReader reader(readerPath.c_str());
    return ReadFileBytes(dir_.File(installer)).substr(0, reader.MarkerOffset());
  }

  const std::string adminStub_ = std::string(VDL_STUBS_X64) + "/VandrelStubAdmin.exe";
};

// The stub's own icons give way to the publisher's, in a group under the
// stub's group's name listing each image by id with its size and true depth;
// all else of the stub's stays as it was. The version resources go to
// versions; the stub's own gives way to the publisher's.
void ExpectIconsReplaced(const testing_support::PeLayout& original, const testing_support::PeLayout& layout,
                         const std::vector<std::pair<uint32_t, std::string>>& images,
                         std::vector<testing_support::PeResourceLeaf>* versions) {
  std::vector<testing_support::PeResourceLeaf> kept, icons, groups, stubsOwn, stubsGroups, stubsIcons;
  for (const auto& r : layout.resources) {
    (r.type == 3 ? icons : r.type == 14 ? groups : r.type == 16 ? *versions : kept).push_back(r);
  }
  for (const auto& r : original.resources) {
    if (r.type != 16) (r.type == 3 ? stubsIcons : r.type == 14 ? stubsGroups : stubsOwn).push_back(r);
  }
  ASSERT_EQ(stubsOwn.size(), kept.size());
  for (size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(stubsOwn[i].data, kept[i].data) << kept[i].name;
  ASSERT_EQ(1u, groups.size());
  ASSERT_EQ(1u, stubsGroups.size());
  EXPECT_EQ(stubsGroups[0].name, groups[0].name);
  const std::string& group = groups[0].data;
  ASSERT_EQ(6 + 14 * images.size(), group.size());
  ASSERT_EQ(images.size(), icons.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const char* entry = group.data() + 6 + 14 * i;
    EXPECT_EQ(static_cast<char>(images[i].first & 0xFF), entry[0]);
    uint8_t bits = images[i].second[0] == '\x89' ? 32 : static_cast<uint8_t>(images[i].second[14]);
    EXPECT_EQ(bits, static_cast<uint8_t>(entry[6])) << i;
    std::string id = std::to_string(static_cast<uint8_t>(entry[12]) | static_cast<uint8_t>(entry[13]) << 8);
    bool found = false;
    for (const auto& icon : icons) found = found || (icon.name == id && icon.data == images[i].second);
    EXPECT_TRUE(found) << "image " << i << " as icon " << id;
  }
}

TEST_F(BrandingTest, RealStubs_ImageSoundCodeKeptResourcesAsGiven) {
  std::vector<std::pair<uint32_t, std::string>> images = {
      {16, Bitmap(16, 32, 0x11)}, {32, Bitmap(32, 32, 0x22)}, {48, Bitmap(48, 8, 0x33)}, {256, Png(256, 3000)}};
  Put("tour.ico", Icon(images));
  for (const char* folder : {VDL_STUBS_X64, VDL_STUBS_I686}) {
    std::string stubPath = std::string(folder) + "/VandrelStubAdmin.exe";
    if (!FileExists(stubPath)) GTEST_SKIP() << "no Windows build: " << stubPath;
    PutManifest(kBranding, folder == std::string(VDL_STUBS_X64) ? testing_support::kAmd64 : testing_support::kI386);
    Outcome run = PackWith(folder);
    ASSERT_EQ(0, run.status) << run.err;
    std::string image = Image("setup.exe"), stub = ReadFileBytes(stubPath);
    testing_support::PeLayout layout = testing_support::ReadPeLayout(image);
    testing_support::PeLayout original = testing_support::ReadPeLayout(stub);
    // Among the problems: a section left where the grown resources now lie.
    EXPECT_EQ(std::vector<std::string>(), layout.problems) << folder;
    ASSERT_EQ(original.sections.size(), layout.sections.size());
    // The code and data before the resources are the stub's, byte for byte,
    // and the relocations moved whole.
    for (size_t i = 0; original.sections[i].name != ".rsrc"; ++i) {
      const auto &was = original.sections[i], &is = layout.sections[i];
      EXPECT_EQ(stub.substr(was.rawOffset, was.rawSize), image.substr(is.rawOffset, is.rawSize)) << was.name;
    }
    EXPECT_FALSE(layout.relocations.empty());
    EXPECT_EQ(original.relocations, layout.relocations);

    std::vector<testing_support::PeResourceLeaf> versions;
    ExpectIconsReplaced(original, layout, images, &versions);
    ASSERT_EQ(1u, versions.size());
    testing_support::PeVersion version = testing_support::ReadPeVersion(versions[0].data);
    ASSERT_TRUE(version.sound);
    EXPECT_EQ((std::vector<uint16_t>{1, 4, 0, 12}), std::vector<uint16_t>(version.file, version.file + 4));
    EXPECT_EQ((std::vector<uint16_t>{1, 4, 0, 0}), std::vector<uint16_t>(version.product, version.product + 4));
    std::map<std::string, std::string> strings = {
        {"CompanyName", "Vandrel Tours"}, {"FileDescription", "Harbour Tour Setup"}, {"FileVersion", "1.4.0.12"},
        {"LegalCopyright", "\xC2\xA9 2026 Vandrel Tours \xF0\x9F\x8C\x8A"},
        {"OriginalFilename", "HarbourTourSetup.exe"}, {"ProductName", "Harbour Tour"}, {"ProductVersion", "1.4.0.0"},
        {"VandrelStubVersion", VDL_STUB_VERSION}};
    EXPECT_EQ(strings, version.strings);

    std::string listed = Vpack("list setup.exe").out;
    for (const char* line : {"version: file 1.4.0.12, product 1.4.0.0\n", "  ProductName: Harbour Tour\n"}) {
      EXPECT_NE(std::string::npos, listed.find(line)) << listed;
    }
    nlohmann::json fields = nlohmann::json::parse(Vpack("list setup.exe --json").out)["version"];
    EXPECT_EQ("1.4.0.12", fields["file"]);
    EXPECT_EQ("1.4.0.0", fields["product"]);
    using Strings = std::map<std::string, std::string>;
    EXPECT_EQ(strings, fields["strings"].get<Strings>());
    ASSERT_EQ(0, PackWith(folder, "again.exe").status);
    EXPECT_EQ(ReadFileBytes(dir_.File("setup.exe")), ReadFileBytes(dir_.File("again.exe"))) << folder;
  }
}

// The build lets a stub grow to the payload search's reach less the most
// that branding adds; the largest branding must stay within that, and a
// signature after the payload must still leave it to be found.
TEST_F(BrandingTest, LargestAllowed_GrowthWithinBudgetAndPayloadFoundBehindSignature) {
  if (!FileExists(adminStub_)) GTEST_SKIP() << "no Windows build: " << adminStub_;
  std::vector<std::pair<uint32_t, std::string>> images;
  size_t room = vpack::kMaxIconFileBytes - 6 - 16 * vpack::kMaxIconImages;
  for (uint32_t i = 0; i < vpack::kMaxIconImages; ++i) {
    size_t share = room / vpack::kMaxIconImages + (i == 0 ? room % vpack::kMaxIconImages : 0);
    images.emplace_back(16 + i, Png(16 + i, share));
  }
  std::string icon = Icon(images);
  ASSERT_EQ(vpack::kMaxIconFileBytes, icon.size());
  Put("tour.ico", icon);
  std::string text(vpack::kMaxVersionText, 'x'), texts = "[branding]\nicon = \"tour.ico\"\nfile-version = \"1.0.0.0\"\n";
  for (const char* key : {"product-name", "company-name", "file-description", "copyright", "original-filename"}) {
    texts += std::string(key) + " = \"" + text + "\"\n";
  }
  PutManifest(texts);
  Outcome run = PackWith(adminStub_);
  ASSERT_EQ(0, run.status) << run.err;
  std::string image = Image("setup.exe");
  EXPECT_EQ(std::vector<std::string>(), testing_support::ReadPeLayout(image).problems);
  EXPECT_LE(image.size() - ReadFileBytes(adminStub_).size(), vpack::kMaxBrandingGrowth);

  Put("signed.exe", ReadFileBytes(dir_.File("setup.exe")) + std::string(1500, 'C'));
  std::string readerPath = dir_.File("signed.exe");
  payload::PayloadReader reader(readerPath.c_str());
  EXPECT_EQ(static_cast<int64_t>(image.size()), reader.MarkerOffset());
  EXPECT_GT(reader.EntryCount(), 0);
}

TEST_F(BrandingTest, IconHoldingThePayloadMarker_Refused) {
  if (!FileExists(adminStub_)) GTEST_SKIP() << "no Windows build: " << adminStub_;
  Put("tour.ico", Icon({{32, Png(32, 200) + "5B1E07C2-94AD-4F63" "-A2D8-31C7E9F04B6A"}}));
  PutManifest("[branding]\nicon = \"tour.ico\"\n");
  Outcome run = PackWith(adminStub_);
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("would hold the payload's marker")) << run.err;
  EXPECT_FALSE(FileExists(dir_.File("setup.exe")));
}

TEST_F(BrandingTest, BadBranding_OneLineErrorNamingTheKeyAndNoOutput) {
  std::string project = testing_support::WriteRuntimeProject(dir_, 1);
  // A stub whose branding cannot be written: data follows its last section.
  Put("stub.exe", testing_support::StubImage(4096));
  std::string good = Icon({{32, Bitmap(32, 32, 1)}});
  Put("good.ico", good);
  Put("cut.ico", good.substr(0, good.size() - 10));
  Put("flat.ico", Icon({{32, Bitmap(32, 8, 1)}}));
  Put("wrong.ico", Icon({{32, Bitmap(24, 32, 1)}}));
  Put("big.ico", good + std::string(vpack::kMaxIconFileBytes + 1 - good.size(), '\0'));
  struct Case {
    std::string branding;
    std::string says;
  } cases[] = {
      {"icon = \"cut.ico\"", "branding \"icon\" \"cut.ico\" is not a usable icon file: it has image 1 outside"},
      {"icon = \"flat.ico\"", "branding \"icon\" \"flat.ico\" has no 32-bit image"},
      {"icon = \"wrong.ico\"", "\"wrong.ico\" is not a usable icon file: it has a bitmap whose size"},
      {"icon = \"stub.exe\"", "branding \"icon\" \"stub.exe\" is not a usable icon file: it has no icon header"},
      {"icon = \"big.ico\"", "branding \"icon\" \"big.ico\" is " + std::to_string(vpack::kMaxIconFileBytes + 1) +
                                 " bytes; an installer's icon holds at most " +
                                 std::to_string(vpack::kMaxIconFileBytes) +
                                 ", so that a signed installer still finds its payload: store its 256-pixel image "
                                 "as PNG"},
      {"file-version = \"1.2.3\"", "branding \"file-version\" is \"1.2.3\"; it must be four numbers"},
      {"product-version = \"1.2.3.65536\"", "branding \"product-version\" is \"1.2.3.65536\""},
      {"product-name = \"" + std::string(257, 'n') + "\"", "branding \"product-name\" is 257 characters long"},
      {"company-name = 5", "branding \"company-name\" must be a string"},
      {"icon-file = \"good.ico\"", "branding \"icon-file\" is not a branding key"},
      {"icon = \"good.ico\"", "stub \"stub.exe\" has data after its last section"},
  };
  for (const Case& c : cases) {
    Put("bad.toml", project + "[branding]\n" + c.branding + "\n");
    Outcome run = Vpack("pack bad.toml -o setup.exe");
    EXPECT_EQ(1, run.status) << c.branding;
    EXPECT_NE(std::string::npos, run.err.find(c.says)) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_FALSE(FileExists(dir_.File("setup.exe"))) << c.branding;
  }
}

// A publisher's shared manifest carries the branding of all its projects: its
// icon path takes variables and is its own folder's, and the including
// manifest's keys win one by one, as its settings do.
TEST_F(BrandingTest, Include_SharedBrandingWithVariables_IncluderKeysWin) {
  testing_support::PutFile(dir_, "shared/art/tour.ico", Icon({{32, Bitmap(32, 32, 7)}}));
  testing_support::PutFile(dir_, "shared/brand.toml",
                           "[vars]\nart = \"nowhere\"\n[branding]\nicon = \"${art}/tour.ico\"\n"
                           "file-version = \"1.0.0.0\"\nproduct-version = \"2.0.0.0\"\ncompany-name = \"Shared Co\"\n");
  Put("tour.toml", "include = \"shared/brand.toml\"\n" + testing_support::WriteRuntimeProject(dir_, 1) +
                       "[vars]\nart = \"art\"\n[branding]\nfile-version = \"1.4.0.12\"\n"
                       "product-name = \"Harbour Tour\"\n");
  vpack::Manifest manifest = vpack::LoadManifest(dir_.File("tour.toml"));
  ASSERT_EQ(1u, manifest.branding.icon.size());
  const vpack::Bytes& image = manifest.branding.icon[0].data;
  EXPECT_EQ(Bitmap(32, 32, 7), std::string(image.begin(), image.end()));
  ASSERT_TRUE(manifest.branding.version.has_value());
  const vpack::VersionInfo& version = *manifest.branding.version;
  EXPECT_EQ((vpack::FourPartVersion{1, 4, 0, 12}), version.fileVersion);
  EXPECT_EQ((vpack::FourPartVersion{2, 0, 0, 0}), version.productVersion);
  std::vector<std::pair<std::string, std::string>> strings = {{"CompanyName", "Shared Co"},
      {"FileVersion", "1.4.0.12"}, {"ProductName", "Harbour Tour"}, {"ProductVersion", "2.0.0.0"}};
  EXPECT_EQ(strings, version.strings);
}

// Version information as the documentation promises: the ProductVersion
// string follows the file version unless given; without a file version,
// which Windows would show as 0.0.0.0, a warning.
TEST_F(BrandingTest, VersionStrings_ProductVersionFollowsFileVersionAndNoneWarned) {
  struct Case {
    std::string branding;
    std::vector<std::pair<std::string, std::string>> strings;
    const char* warns;  // null: no warning
  } cases[] = {
      {"file-version = \"1.4.0.12\"\n", {{"FileVersion", "1.4.0.12"}, {"ProductVersion", "1.4.0.12"}}, nullptr},
      {"file-version = \"1.4.0.12\"\nproduct-version = \"2.0.0.0\"\n",
       {{"FileVersion", "1.4.0.12"}, {"ProductVersion", "2.0.0.0"}}, nullptr},
      {"company-name = \"Harbour Co\"\n", {{"CompanyName", "Harbour Co"}},
       "branding has no \"file-version\", so Windows shows the installer's version as 0.0.0.0"},
  };
  std::string project = testing_support::WriteRuntimeProject(dir_, 1);
  for (const Case& c : cases) {
    Put("tour.toml", project + "[branding]\n" + c.branding);
    vpack::Manifest manifest = vpack::LoadManifest(dir_.File("tour.toml"));
    ASSERT_TRUE(manifest.branding.version.has_value()) << c.branding;
    EXPECT_EQ(c.strings, manifest.branding.version->strings) << c.branding;
    std::string warnings;
    for (const std::string& warning : manifest.warnings) warnings += warning + "\n";
    if (c.warns == nullptr) {
      EXPECT_EQ("", warnings) << c.branding;
    } else {
      EXPECT_NE(std::string::npos, warnings.find(c.warns)) << warnings;
    }
  }
}

// Where the manifest has branding, the uninstall entry says who and what: an
// installing type's payload carries the product version and the company name
// as DisplayVersion and Publisher, its addresses as URLInfoAbout and
// HelpLink, unless [settings] gives them; a run in
// place, which has no uninstall entry, carries neither, and neither warns.
TEST_F(BrandingTest, UninstallEntry_VersionPublisherAddressesFromBrandingUnlessSet) {
  if (!FileExists(adminStub_)) GTEST_SKIP() << "no Windows build: " << adminStub_;
  const std::string full = "[branding]\nfile-version = \"1.4.0.12\"\nproduct-version = \"1.4.0.0\"\n"
                           "company-name = \"Vandrel Tours\"\nabout-url = \"https://tours.example\"\n"
                           "help-url = \"https://tours.example/help\"\n";
  const std::string about = "\"https://tours.example\"", help = "\"https://tours.example/help\"";
  struct Case {
    uint32_t type;
    std::string settings;  // added to [settings]
    std::string branding;
    std::vector<std::string> listed;  // "" where the setting is absent
  } cases[] = {
      {2, "", full, {"\"1.4.0.0\"", "\"Vandrel Tours\"", about, help}},
      {2, "", "[branding]\nfile-version = \"2.1.0.7\"\n", {"\"2.1.0.7\"", "", "", ""}},
      {2, "Publisher = \"Harbour Co\"\nHelpLink = \"mailto:help@tours.example\"\n", full,
       {"\"1.4.0.0\"", "\"Harbour Co\"", about, "\"mailto:help@tours.example\""}},
      {5, "DisplayVersion = \"3\"\n", full, {"\"3\"", "\"Vandrel Tours\"", about, help}},
      // Addresses need no version information.
      {2, "", "[branding]\nabout-url = \"https://tours.example\"\n", {"", "", about, ""}},
      {1, "", full, {"", "", "", ""}},
      {2, "", "", {"", "", "", ""}},
  };
  for (const Case& c : cases) {
    std::string project = testing_support::WriteRuntimeProject(dir_, c.type, testing_support::kAmd64);
    project.insert(project.find("[[folder]]"), c.settings);
    Put("tour.toml", project + c.branding);
    Outcome run = PackWith(VDL_STUBS_X64);
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(std::string::npos, run.err.find("never reads it")) << run.err;
    std::string listed = Vpack("list setup.exe").out;
    const char* names[] = {"DisplayVersion", "Publisher", "URLInfoAbout", "HelpLink"};
    for (size_t i = 0; i < 4; ++i) {
      std::string line = std::string("setting: ") + names[i] + " = ";
      size_t at = listed.find(line), from = at + line.size();
      std::string shown = at == std::string::npos ? "" : listed.substr(from, listed.find('\n', at) - from);
      EXPECT_EQ(c.listed[i], shown) << names[i] << " of type " << c.type << c.settings << c.branding;
    }
  }
  // The installer holds the code page's bytes: a name outside it is refused
  // at its branding key.
  Put("tour.toml", testing_support::WriteRuntimeProject(dir_, 2, testing_support::kAmd64) +
                       "[branding]\nfile-version = \"1.0.0.0\"\ncompany-name = \"\xE6\x9D\xB1\xE4\xBA\xAC Tours\"\n");
  Outcome run = PackWith(VDL_STUBS_X64, "refused.exe");
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("setting \"Publisher\" from branding \"company-name\"")) << run.err;
  EXPECT_FALSE(FileExists(dir_.File("refused.exe")));
}

}  // namespace
