// Manifests read by vpack's library: the folder form, includes, variables,
// defaults from what the installer does with a file, and the manifests that
// cannot give a working installer, refused with the entry named.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "tests/support/PackProject.h"
#include "vpack/Error.h"
#include "vpack/Manifest.h"

using testing_support::PutFile;
using testing_support::TempDir;
using testing_support::WriteRuntimeProject;

namespace {

class ManifestTest : public ::testing::Test {
 protected:
  vpack::Manifest Load(const std::string& text) {
    PutFile(dir_, "m.toml", text);
    return vpack::LoadManifest(dir_.File("m.toml"));
  }

  // The one-line error Load gives, or "" when it loads.
  std::string Refusal(const std::string& text) {
    try {
      Load(text);
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

TEST_F(ManifestTest, Folder_RecursivePatternsTargetDefaultsSorted) {
  PutFile(dir_, "content/scenes/b.vdl", "b");
  PutFile(dir_, "content/scenes/A.vdl", "a");
  PutFile(dir_, "content/music/theme.cgr", "c");
  PutFile(dir_, "content/notes.bak", "n");
  PutFile(dir_, "content/drafts/x.vdl", "x");
  PutFile(dir_, "lights/Lights.vch", "l");
  PutFile(dir_, "lights/readme.txt", "r");
  vpack::Manifest manifest =
      Load(head_ +
           "[[folder]]\nsource = \"content\"\ntarget = \"data\"\nexclude = [\"*.BAK\", \"drafts/*\"]\n"
           "[[folder]]\nsource = \"lights\"\ntarget = 'channels\\'\ninclude = \"*.vch\"\n"
           "list = \"channels\"\n");
  std::vector<std::string> names;
  for (const vpack::FileSpec& file : manifest.files) names.push_back(file.name);
  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end(),
            [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
  EXPECT_EQ(sorted, names);
  EXPECT_EQ(nullptr, Find(manifest, "data\\notes.bak"));
  EXPECT_EQ(nullptr, Find(manifest, "data\\drafts\\x.vdl"));
  EXPECT_EQ(nullptr, Find(manifest, "channels\\readme.txt"));
  const vpack::FileSpec* scene = Find(manifest, "data\\scenes\\A.vdl");
  ASSERT_NE(nullptr, scene);
  EXPECT_EQ(vpack::Store::kEngine, scene->store);
  EXPECT_EQ(packager::ListKind::kProjectFiles, scene->list);
  const vpack::FileSpec* cgr = Find(manifest, "data\\music\\theme.cgr");
  ASSERT_NE(nullptr, cgr);
  EXPECT_EQ(vpack::Store::kRaw, cgr->store);
  const vpack::FileSpec* light = Find(manifest, "channels\\Lights.vch");
  ASSERT_NE(nullptr, light);
  EXPECT_EQ(packager::ListKind::kChannels, light->list);
  // Runtime files from a folder: extracted by name, so in no list.
  const vpack::FileSpec* viewer = Find(manifest, "VandrelViewer.exe");
  ASSERT_NE(nullptr, viewer);
  EXPECT_EQ(vpack::Store::kZlib, viewer->store);
  EXPECT_FALSE(viewer->list.has_value());
  EXPECT_TRUE(manifest.warnings.empty()) << manifest.warnings[0];
}

TEST_F(ManifestTest, Include_SharedEntriesWithVariablesIncluderWins) {
  PutFile(dir_, "shared/runtime.toml",
          "[vars]\nrt = \"nowhere\"\n[settings]\nProjectType = 2\nCheckDx8 = 1\n"
          "[[folder]]\nsource = \"${rt}\"\n");
  PutFile(dir_, "scene.txt", "scene");
  std::string rt = dir_.Path() + "/runtime";
  vpack::Manifest manifest = Load("include = \"shared/runtime.toml\"\n[vars]\nrt = '" + rt +
                                  "'\n[settings]\nProjectType = 1\n"
                                  "[[file]]\nname = 'scene.vdl'\nsource = \"scene.txt\"\nlist = \"project\"\n");
  ASSERT_EQ(2u, manifest.settings.size());
  EXPECT_EQ(1u, manifest.settings[0].number);  // ProjectType: the includer's
  EXPECT_EQ(1u, manifest.settings[1].number);  // CheckDx8: the shared one's
  EXPECT_NE(nullptr, Find(manifest, "Tessaron.dll"));
  EXPECT_NE(nullptr, Find(manifest, "scene.vdl"));
  EXPECT_EQ(2u, manifest.inputs.size());
}

TEST_F(ManifestTest, SingleFile_DefaultsFromWhatTheInstallerDoes) {
  PutFile(dir_, "f.bin", "f");
  vpack::Manifest manifest = Load(head_ + "[[file]]\nname = 'scenes/a.vdl'\nsource = \"f.bin\"\nlist = \"project\"\n" +
                                  "[[file]]\nname = 'a.cgr'\nsource = \"f.bin\"\nlist = \"project\"\n");
  const vpack::FileSpec* scene = Find(manifest, "scenes\\a.vdl");
  ASSERT_NE(nullptr, scene) << "separators become backslashes";
  EXPECT_EQ(vpack::Store::kEngine, scene->store);
  ASSERT_NE(nullptr, Find(manifest, "a.cgr"));
  EXPECT_EQ(vpack::Store::kRaw, Find(manifest, "a.cgr")->store);
}

TEST_F(ManifestTest, UnsafeOrUnwritableName_RefusedNamingEntry) {
  PutFile(dir_, "f.bin", "f");
  for (const char* name : {"..\\evil.dll", "C:\\evil.dll", "a:stream", "scenes\\a<b.vdl", "CON", "scenes\\nul.txt",
                           "lpt1.vdl", "trailing."}) {
    std::string error = Refusal(head_ + "[[file]]\nname = '" + name + "'\nsource = \"f.bin\"\nlist = \"project\"\n");
    EXPECT_NE(std::string::npos, error.find("file \"" + std::string(name) + "\"")) << name << ": " << error;
  }
  PutFile(dir_, "bad/a<b.vdl", "f");
  EXPECT_NE(std::string::npos,
            Refusal(head_ + "[[folder]]\nsource = \"bad\"\n").find("folder \"bad\", item \"a<b.vdl\""));
}

TEST_F(ManifestTest, CgrProjectFileAsZlib_Refused) {
  PutFile(dir_, "t.cgr", "c");
  std::string error = Refusal(head_ +
                              "[[file]]\nname = 'music\\t.cgr'\nsource = \"t.cgr\"\nlist = \"project\"\n"
                              "store = \"zlib\"\n");
  EXPECT_NE(std::string::npos, error.find("file \"music\\t.cgr\": store zlib")) << error;
}

TEST_F(ManifestTest, StoreTheInstallerCannotUse_Refused) {
  PutFile(dir_, "f.bin", "f");
  EXPECT_NE(std::string::npos,
            Refusal(head_ + "[[file]]\nname = 'a.vdl'\nsource = \"f.bin\"\nlist = \"project\"\nstore = \"zlib\"\n")
                .find("engine format"));
  EXPECT_NE(
      std::string::npos,
      Refusal(head_ + "[[file]]\nname = 'VDLUnInst.exe'\nsource = \"f.bin\"\nstore = \"raw\"\n").find("inflates"));
}

TEST_F(ManifestTest, FileInNoList_Warned) {
  PutFile(dir_, "f.bin", "f");
  vpack::Manifest manifest = Load(head_ + "[[file]]\nname = 'lost.vdl'\nsource = \"f.bin\"\n");
  ASSERT_EQ(1u, manifest.warnings.size());
  EXPECT_NE(std::string::npos, manifest.warnings[0].find("file \"lost.vdl\": in no list")) << manifest.warnings[0];
}

TEST_F(ManifestTest, FolderGivenAsManifest_Refused) {
  PutFile(dir_, "folder.toml/x", "");
  try {
    vpack::LoadManifest(dir_.File("folder.toml"));
    FAIL() << "a folder was read as a manifest";
  } catch (const vpack::Error& e) {
    EXPECT_NE(std::string::npos, std::string(e.what()).find("is a folder")) << e.what();
  }
}

TEST_F(ManifestTest, SlashBackslashAndCase_SameItem) {
  PutFile(dir_, "f.bin", "f");
  std::string error = Refusal(head_ + "[[file]]\nname = 'scenes/hall.vdl'\nsource = \"f.bin\"\nlist = \"project\"\n" +
                              "[[file]]\nname = 'Scenes\\HALL.vdl'\nsource = \"f.bin\"\nlist = \"project\"\n");
  EXPECT_NE(std::string::npos, error.find("duplicate item name")) << error;
}

TEST_F(ManifestTest, SourceOf4GiB_RefusedBeforeReading) {
  // Sparse: no disk space used, and vpack must not read it to refuse it.
  ASSERT_EQ(0, system(("truncate -s 4G '" + dir_.File("huge.bin") + "'").c_str()));
  std::string error = Refusal(head_ + "[[file]]\nname = 'huge.vdl'\nsource = \"huge.bin\"\nlist = \"project\"\n");
  EXPECT_NE(std::string::npos, error.find("file \"huge.vdl\": source")) << error;
  EXPECT_NE(std::string::npos, error.find("2 GiB")) << error;
}

TEST_F(ManifestTest, ProjectThatCannotWork_Refused) {
  TempDir other;
  std::string standalone = WriteRuntimeProject(other, 2);
  struct Case {
    std::string manifest;
    const char* says;
  } cases[] = {
      {"stub = \"stub.exe\"\n", "\"ProjectType\" is missing"},
      {"[settings]\nProjectType = 3\n", "ProjectType\" is 3, which the installer ignores"},
      {standalone.substr(0, standalone.find("InstallPath")) + "[[folder]]\nsource = \"runtime\"\n",
       "setting \"InstallPath\" is missing; project type 2 reads it"},
      {head_ + "exclude = \"Tessaron.dll\"\n", "no file \"Tessaron.dll\"; project type 1 extracts it"},
  };
  for (const Case& c : cases) {
    PutFile(other, "m.toml", c.manifest);
    std::string error;
    try {
      vpack::LoadManifest(other.File("m.toml"));
    } catch (const vpack::Error& e) {
      error = e.what();
    }
    EXPECT_NE(std::string::npos, error.find(c.says)) << c.manifest << "\n" << error;
  }
}

}  // namespace
