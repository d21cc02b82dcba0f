// Manifests read by vpack's library: the folder form, includes, variables,
// defaults from what the installer does with a file, and the manifests that
// cannot give a working installer, refused with the entry named.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>

#include "tests/support/PackProject.h"
#include "vpack/Error.h"
#include "vpack/Manifest.h"

using testing_support::PutFile;
using testing_support::TempDir;
using testing_support::WriteRuntimeProject;

namespace {

// A [[file]] entry in the project list, with any further keys.
std::string ProjectFile(const std::string& name, const std::string& source, const std::string& extra = "") {
  return "[[file]]\nname = '" + name + "'\nsource = \"" + source + "\"\nlist = \"project\"\n" + extra;
}

class ManifestTest : public ::testing::Test {
 protected:
  vpack::Manifest Load(const std::string& text) {
    PutFile(dir_, "m.toml", text);
    return vpack::LoadManifest(dir_.File("m.toml"));
  }

  // The one-line error loading the manifest at path gives, or "" when it loads.
  static std::string RefusalOf(const std::string& path) {
    try {
      vpack::LoadManifest(path);
    } catch (const vpack::Error& e) {
      return e.what();
    }
    return std::string();
  }

  const vpack::FileSpec* Find(const vpack::Manifest& manifest, const std::string& name) {
    for (const vpack::FileSpec& file : manifest.files) {
      if (file.name == name) return &file;
    }
    return nullptr;
  }

  TempDir dir_;
  std::string head_ = WriteRuntimeProject(dir_, 1);
};

TEST_F(ManifestTest, FoldersAndFiles_PatternsTargetDefaultsSorted) {
  for (const char* path : {"content/scenes/b.vdl", "content/scenes/A.vdl", "content/music/theme.cgr",
                           "content/notes.bak", "content/drafts/x.vdl", "lights/Lights.vch", "lights/readme.txt"}) {
    PutFile(dir_, path, path);
  }
  vpack::Manifest manifest =
      Load(head_ +
           "[[folder]]\nsource = \"content\"\ntarget = \"data\"\nexclude = [\"*.BAK\", \"drafts/*\"]\n"
           "[[folder]]\nsource = \"lights\"\ntarget = 'channels\\'\ninclude = \"*.vch\"\nlist = \"channels\"\n" +
           ProjectFile("extra/a.cgr", "lights/readme.txt"));
  for (const char* left : {"data\\notes.bak", "data\\drafts\\x.vdl", "channels\\readme.txt"}) {
    EXPECT_EQ(nullptr, Find(manifest, left)) << left;
  }
  // Stored as the installer reads each: runtime files from a folder are
  // extracted by name, so in no list; a ".cgr" project file is copied as is.
  struct Expected {
    const char* name;
    vpack::Store store;
    std::optional<packager::ListKind> list;
  } expected[] = {
      {"data\\scenes\\A.vdl", vpack::Store::kEngine, packager::ListKind::kProjectFiles},
      {"data\\music\\theme.cgr", vpack::Store::kRaw, packager::ListKind::kProjectFiles},
      {"channels\\Lights.vch", vpack::Store::kEngine, packager::ListKind::kChannels},
      {"VandrelViewer.exe", vpack::Store::kZlib, std::nullopt},
      {"extra\\a.cgr", vpack::Store::kRaw, packager::ListKind::kProjectFiles},
  };
  for (const Expected& e : expected) {
    const vpack::FileSpec* file = Find(manifest, e.name);
    ASSERT_NE(nullptr, file) << e.name;
    EXPECT_EQ(e.store, file->store) << e.name;
    EXPECT_EQ(e.list, file->list) << e.name;
  }
  EXPECT_TRUE(manifest.warnings.empty()) << manifest.warnings[0];
}

TEST_F(ManifestTest, Include_SharedEntriesWithVariablesIncluderWins) {
  PutFile(dir_, "shared/runtime.toml",
          "[vars]\nrt = \"nowhere\"\n[settings]\nProjectType = 2\nCheckDx8 = 1\n"
          "[[folder]]\nsource = \"${rt}\"\n");
  PutFile(dir_, "scene.txt", "scene");
  std::string rt = dir_.Path() + "/runtime";
  vpack::Manifest manifest = Load("include = \"shared/runtime.toml\"\n[vars]\nrt = '" + rt +
                                  "'\n[settings]\nProjectType = 1\n" + ProjectFile("scene.vdl", "scene.txt"));
  ASSERT_EQ(2u, manifest.settings.size());
  EXPECT_EQ(1u, manifest.settings[0].number);  // ProjectType: the includer's
  EXPECT_EQ(1u, manifest.settings[1].number);  // CheckDx8: the shared one's
  EXPECT_NE(nullptr, Find(manifest, "Tessaron.dll"));
  EXPECT_NE(nullptr, Find(manifest, "scene.vdl"));
  EXPECT_EQ(2u, manifest.inputs.size());
}

TEST_F(ManifestTest, FileInNoList_Warned) {
  PutFile(dir_, "f.bin", "f");
  vpack::Manifest manifest = Load(head_ + "[[file]]\nname = 'lost.vdl'\nsource = \"f.bin\"\n");
  ASSERT_EQ(1u, manifest.warnings.size());
  EXPECT_NE(std::string::npos, manifest.warnings[0].find("file \"lost.vdl\": in no list")) << manifest.warnings[0];
}

TEST_F(ManifestTest, ManifestThatCannotGiveAWorkingInstaller_RefusedNamingTheEntry) {
  PutFile(dir_, "f.bin", "f");
  PutFile(dir_, "bad/a<b.vdl", "f");
  // Sparse: no disk space used, and vpack must not read it to refuse it.
  ASSERT_EQ(0, system(("truncate -s 4G '" + dir_.File("huge.bin") + "'").c_str()));
  TempDir other;
  std::string standalone = WriteRuntimeProject(other, 2);
  standalone = standalone.substr(0, standalone.find("InstallPath")) + "[[folder]]\nsource = '" +
               other.File("runtime") + "'\n";
  std::vector<std::pair<std::string, std::string>> cases = {
      {head_ + "[[folder]]\nsource = \"bad\"\n", "folder \"bad\", item \"a<b.vdl\""},
      {head_ + ProjectFile("music\\t.cgr", "f.bin", "store = \"zlib\"\n"), "file \"music\\t.cgr\": store zlib"},
      {head_ + ProjectFile("a.vdl", "f.bin", "store = \"zlib\"\n"), "file \"a.vdl\": store zlib: the engine decodes"},
      {head_ + "[[file]]\nname = 'VDLUnInst.exe'\nsource = \"f.bin\"\nstore = \"raw\"\n",
       "file \"VDLUnInst.exe\": store raw: the installer inflates it"},
      {head_ + ProjectFile("scenes/hall.vdl", "f.bin") + ProjectFile("Scenes\\HALL.vdl", "f.bin"),
       "duplicate item name"},
      {head_ + ProjectFile("huge.vdl", "huge.bin"), "file \"huge.vdl\": source"},
      {head_ + ProjectFile("huge.vdl", "huge.bin"), "is 4294967296 bytes; an installer holds less than 2 GiB"},
      {"stub = \"stub.exe\"\n", "\"ProjectType\" is missing"},
      {"[settings]\nProjectType = 3\n", "ProjectType\" is 3, which the installer ignores"},
      {standalone, "setting \"InstallPath\" is missing; project type 2 reads it"},
      {head_ + "exclude = \"Tessaron.dll\"\n", "no file \"Tessaron.dll\"; project type 1 extracts it"},
  };
  // A name of each kind refused; ItemName's test has each rule.
  for (const char* name : {"..\\evil.dll", "C:\\evil.dll", "a:stream", "scenes\\a<b.vdl", "scenes\\nul.txt"}) {
    cases.emplace_back(head_ + ProjectFile(name, "f.bin"), "file \"" + std::string(name) + "\": \"" + name + "\" ");
  }
  for (const auto& [manifest, says] : cases) {
    PutFile(dir_, "m.toml", manifest);
    std::string error = RefusalOf(dir_.File("m.toml"));
    EXPECT_NE(std::string::npos, error.find(says)) << manifest << "\n" << error;
  }
  PutFile(dir_, "folder.toml/x", "");
  EXPECT_NE(std::string::npos, RefusalOf(dir_.File("folder.toml")).find("is a folder"));
}

}  // namespace
