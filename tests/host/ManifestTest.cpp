// Manifests read by vpack's library: the folder form, includes, variables,
// defaults from what the installer does with a file, and the manifests that
// cannot give a working installer, refused with the entry named.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>

#include "tests/support/FolderCases.h"
#include "tests/support/PackProject.h"
#include "vpack/base/Error.h"
#include "vpack/manifest/Manifest.h"

using testing_support::PutFile;
using testing_support::RuntimeEntries;
using testing_support::TempDir;
using testing_support::WriteRuntimeProject;

namespace {

// A [[file]] entry in the project list, with any further keys.
std::string ProjectFile(const std::string& name, const std::string& source, const std::string& extra = "") {
  return "[[file]]\nname = '" + name + "'\nsource = \"" + source + "\"\nlist = \"project\"\n" + extra;
}

// A manifest read from its text alone, as if it were /project/m.toml: its
// sources are never looked at.
vpack::Manifest Read(const std::string& text) {
  vpack::Manifest manifest = vpack::ParseManifest("/project/m.toml", text);
  vpack::FinishManifest(manifest);
  return manifest;
}

// The one-line error reading gives, or "" when it reads.
template <typename Reading>
std::string RefusalOf(Reading reading) {
  try {
    reading();
  } catch (const vpack::Error& e) {
    return e.what();
  }
  return std::string();
}

std::string TextRefusalOf(const std::string& text) {
  return RefusalOf([&] { Read(text); });
}

const vpack::FileSpec* Find(const vpack::Manifest& manifest, const std::string& name) {
  for (const vpack::FileSpec& file : manifest.files) {
    if (file.name == name) return &file;
  }
  return nullptr;
}

// Manifests whose folders are walked, in a project tree on disk.
class ManifestOnDisk : public ::testing::Test {
 protected:
  vpack::Manifest Load(const std::string& text) {
    PutFile(dir_, "m.toml", text);
    return vpack::LoadManifest(dir_.File("m.toml"));
  }

  std::string DiskRefusalOf(const std::string& text) {
    PutFile(dir_, "m.toml", text);
    return RefusalOf([&] { vpack::LoadManifest(dir_.File("m.toml")); });
  }

  TempDir dir_;
  std::string head_ = WriteRuntimeProject(dir_, 1);
};

TEST_F(ManifestOnDisk, FoldersAndFiles_PatternsTargetDefaultsSorted) {
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
  // extracted by name, so in no list; a ".cgr" project file is copied as
  // stored, and the engine reads it in its own format.
  struct Expected {
    const char* name;
    vpack::Store store;
    std::optional<packager::ListKind> list;
  } expected[] = {
      {"data\\scenes\\A.vdl", vpack::Store::kEngine, packager::ListKind::kProjectFiles},
      {"data\\music\\theme.cgr", vpack::Store::kEngine, packager::ListKind::kProjectFiles},
      {"channels\\Lights.vch", vpack::Store::kEngine, packager::ListKind::kChannels},
      {"VandrelViewer.exe", vpack::Store::kZlib, std::nullopt},
      {"extra\\a.cgr", vpack::Store::kEngine, packager::ListKind::kProjectFiles},
  };
  for (const Expected& e : expected) {
    const vpack::FileSpec* file = Find(manifest, e.name);
    ASSERT_NE(nullptr, file) << e.name;
    EXPECT_EQ(e.store, file->store) << e.name;
    EXPECT_EQ(e.list, file->list) << e.name;
  }
  EXPECT_TRUE(manifest.warnings.empty()) << manifest.warnings[0];
}

TEST_F(ManifestOnDisk, Include_SharedEntriesWithVariablesIncluderWins) {
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

// The same manifest serves vpack.exe, where backslashes are a publisher's
// habit: they separate folders in every path a manifest names.
TEST_F(ManifestOnDisk, BackslashesInPaths_SeparateFoldersAsOnWindows) {
  PutFile(dir_, "shared/more.toml", "[[file]]\nname = 'b.vdl'\nsource = '..\\content\\deep\\b.txt'\nlist = 'project'\n");
  PutFile(dir_, "content/deep/b.txt", "b");
  PutFile(dir_, "content/deep/c.vdl", "c");
  vpack::Manifest manifest = Load("include = 'shared\\more.toml'\n" + head_ +
                                  "[[folder]]\nsource = 'content\\deep'\ninclude = '*.vdl'\nlist = 'project'\n");
  ASSERT_NE(nullptr, Find(manifest, "b.vdl"));
  EXPECT_EQ(dir_.File("content/deep/b.txt"), Find(manifest, "b.vdl")->source);
  EXPECT_NE(nullptr, Find(manifest, "c.vdl"));
}

TEST(Manifest, FileInNoListOrWithUpperCaseCgr_Warned) {
  struct Case {
    std::string entries;
    std::string says;  // "": no warning
  } cases[] = {
      {"[[file]]\nname = 'lost.vdl'\nsource = \"f.bin\"\n", "file \"lost.vdl\": in no list"},
      {ProjectFile("WAVES.CGR", "f.bin"), "file \"WAVES.CGR\": the installer copies a project file as stored only "
                                          "when \".cgr\" is in its name in lower case; this one the engine decodes"},
      {ProjectFile("waves.cgr", "f.bin"), ""},
      // Copied as stored, so the engine would read plain or zlib bytes.
      {ProjectFile("music\\t.cgr", "f.bin", "store = \"zlib\"\n"),
       "file \"music\\t.cgr\": stored as zlib, but the installer copies"},
      {ProjectFile("t.cgr.bak", "f.bin", "store = \"raw\"\n"), "file \"t.cgr.bak\": stored raw, but"},
  };
  for (const Case& c : cases) {
    vpack::Manifest manifest = Read(RuntimeEntries(1) + c.entries);
    ASSERT_EQ(c.says.empty() ? 0u : 1u, manifest.warnings.size()) << c.entries;
    if (!c.says.empty()) EXPECT_NE(std::string::npos, manifest.warnings[0].find(c.says)) << manifest.warnings[0];
  }
}

TEST(Manifest, ManifestThatCannotGiveAWorkingInstaller_RefusedNamingTheEntry) {
  std::string head = RuntimeEntries(1);
  std::string standalone = RuntimeEntries(2);
  standalone.erase(standalone.find("InstallPath = 'C:\\x'\n"), 21);
  std::vector<std::pair<std::string, std::string>> cases = {
      {head + ProjectFile("a.vdl", "f.bin", "store = \"zlib\"\n"), "file \"a.vdl\": store zlib: the engine decodes"},
      {head + "[[file]]\nname = 'VDLUnInst.exe'\nsource = \"f.bin\"\nstore = \"raw\"\n",
       "file \"VDLUnInst.exe\": store raw: the installer inflates it"},
      {head + ProjectFile("scenes/hall.vdl", "f.bin") + ProjectFile("Scenes\\HALL.vdl", "f.bin"),
       "duplicate item name"},
      {head + ProjectFile("caf\u00e9.vdl", "f.bin") + ProjectFile("CAF\u00c9.VDL", "f.bin"), "duplicate item name"},
      {"stub = \"stub.exe\"\n", "\"ProjectType\" is missing"},
      {"[settings]\nProjectType = 3\n", "ProjectType\" is 3, which the installer ignores"},
      {standalone, "setting \"InstallPath\" is missing; project type 2 reads it"},
      {testing_support::ManifestHead(1), "no file \"Tessaron.dll\"; project type 1 extracts it"},
  };
  for (const auto& [manifest, says] : cases) {
    std::string error = TextRefusalOf(manifest);
    EXPECT_NE(std::string::npos, error.find(says)) << manifest << "\n" << error;
  }
}

// Settings checked against what the flow does with them: a value that would
// break the installation is refused naming the setting, one the project type
// never reads is a warning.
TEST(Manifest, SettingsThatBreakTheInstallation_RefusedNamingTheSetting) {
  struct Case {
    uint32_t type;
    std::string from, to;  // in RuntimeEntries(type)
    std::string says;
    bool refused = true;
  } cases[] = {
      {2, "ShortCutName = '\\x'", "ShortCutName = 'Tours Caf\u00e9'",
       "setting \"ShortCutName\" (\"Tours Caf\u00e9\") does not begin with a backslash"},
      {2, "ShortCutName = '\\x'", "ShortCutName = '\\Tours\\A|B'",
       "setting \"ShortCutName\" (\"\\Tours\\A|B\") is no name Windows can make a link under"},
      {2, "InstallPath = 'C:\\x'", "InstallPath = 'Tours'", "setting \"InstallPath\" (\"Tours\") is not a full path"},
      {5, "InstallPath = 'C:\\x'", "InstallPath = ''", "setting \"InstallPath\" (\"\") is empty"},
      {6, "StartupDirectory = 'C:\\x'", "StartupDirectory = 'x\\y'", "setting \"StartupDirectory\" (\"x\\y\") is not"},
      {2, "ProjectName = 'x'", "ProjectName = ''", "setting \"ProjectName\" (\"\") is empty"},
      {2, "ProjectName = 'x'", "ProjectName = 'x'\nDoQuitCgr = true",
       "setting \"DoQuitCgr\": project type 2 never reads it", false},
      {1, "CheckDx8 = 0", "CheckDx8 = 0\nInstallPath = 'C:\\x'", "setting \"InstallPath\": project type 1 never reads it",
       false},
  };
  for (const Case& c : cases) {
    std::string manifest = RuntimeEntries(c.type);
    ASSERT_NE(std::string::npos, manifest.find(c.from)) << manifest;
    manifest.replace(manifest.find(c.from), c.from.size(), c.to);
    std::string error = TextRefusalOf(manifest);
    if (c.refused) {
      EXPECT_NE(std::string::npos, error.find(c.says)) << c.to << "\n" << error;
      continue;
    }
    ASSERT_EQ("", error);
    std::string warnings;
    for (const std::string& warning : Read(manifest).warnings) warnings += warning + "\n";
    EXPECT_NE(std::string::npos, warnings.find(c.says)) << warnings;
  }
}

std::string SettingRefusal(uint32_t type, const std::string& setting, const std::string& toml) {
  return TextRefusalOf(testing_support::RuntimeEntriesWith(type, setting, toml));
}

TEST(Manifest, InstallFolderThatIsARootOrNoFolderWindowsMakes_Refused) {
  const char* root = "is the root of a drive";
  const char* noFolder = "is no folder Windows can create: it ";
  const char* notFull = "is not a full path with its drive";
  std::vector<std::pair<std::string, std::string>> refused = {
      {R"('C:\')", root}, {"'C:'", notFull}, {"'d:/'", root}, {R"('C:\\')", root},
      {R"('\\server\share')", "is the root of a share"}, {R"('\\server\share\')", "is the root of a share"},
      {R"('C:\Tours\a:b')", noFolder}, {R"('C:\Tours*')", noFolder}, {R"('C:\Tour?')", noFolder},
      {R"('C:\"Tour"')", noFolder}, {R"('C:\<Tour>')", noFolder}, {R"('C:\a|b')", noFolder},
      {R"("C:\\a\u0001b")", noFolder}, {R"('C:\CON')", noFolder}, {R"('C:\Tours\nul.txt')", noFolder},
      {R"('C:\Tours\COM1\x')", noFolder}, {R"('C:\Tours ')", noFolder}, {R"('C:\Tours.\x')", noFolder},
      {R"('C:\Tours\\x')", noFolder}, {R"('\\server\share\a|b')", noFolder},
  };
  for (const auto& [toml, says] : refused) {
    for (uint32_t type : {2u, 5u}) {
      std::string error = SettingRefusal(type, "InstallPath", toml);
      EXPECT_NE(std::string::npos, error.find("setting \"InstallPath\" (")) << toml << "\n" << error;
      EXPECT_NE(std::string::npos, error.find(says)) << toml << "\n" << error;
    }
  }
  EXPECT_NE(std::string::npos, SettingRefusal(6, "StartupDirectory", R"('C:\')").find(root));
  for (const char* toml : {"'C:/Program Files/Tour'", R"('C:\Tours\')", R"('\\server\share\Tour')",
                           R"('C:\Tours\Con Air\LPT10')"}) {
    EXPECT_EQ("", SettingRefusal(2, "InstallPath", toml)) << toml;
  }
}

// The verdicts the stub's /D= gives the same table (UnattendedTest).
TEST(Manifest, FolderTable_SameVerdictsAsTheStub) {
  for (const testing_support::FolderCase& c : testing_support::kFolderCases) {
    std::string path = c.path;
    size_t base = path.find("{base}");
    if (base != std::string::npos) path.replace(base, 6, "C:\\Apps");
    EXPECT_EQ(c.accepted, SettingRefusal(2, "InstallPath", "'" + path + "'").empty()) << path;
  }
}

TEST(Manifest, ShortcutNameEndingInASeparatorOrWithAnEmptyFolder_Refused) {
  for (const char* toml : {R"('\Tide Tours\')", R"('\')", R"('\Tide Tours/')"}) {
    std::string error = SettingRefusal(2, "ShortCutName", toml);
    EXPECT_NE(std::string::npos, error.find("setting \"ShortCutName\" (")) << error;
    EXPECT_NE(std::string::npos, error.find("ends in a separator, so the links would be named \".lnk\"")) << error;
  }
  for (const char* toml : {R"('\\Tide Tours\Tour')", R"('\Tide Tours\\Tour')"}) {
    std::string error = SettingRefusal(2, "ShortCutName", toml);
    EXPECT_NE(std::string::npos, error.find("is no name Windows can make a link under: it has an empty")) << error;
  }
  EXPECT_EQ("", SettingRefusal(2, "ShortCutName", R"('\Demos\Tour')"));
  EXPECT_EQ("", SettingRefusal(2, "ShortCutName", "'/Demos/Tour'"));
}

// Counted in the code page's bytes: 248 letters of two UTF-8 bytes each fit.
TEST(Manifest, ProjectNameLongerThanItsUninstallKeyTakes_Refused) {
  std::string e248, e249;
  for (int i = 0; i < 248; ++i) e248 += "\u00e9";
  e249 = e248 + "e";
  for (uint32_t type : {2u, 5u, 6u}) {
    EXPECT_EQ("", SettingRefusal(type, "ProjectName", "'" + e248 + "'")) << type;
    std::string error = SettingRefusal(type, "ProjectName", "'" + e249 + "'");
    EXPECT_NE(std::string::npos, error.find("setting \"ProjectName\" (")) << error;
    EXPECT_NE(std::string::npos, error.find("is 249 bytes in the code page; the uninstall entry's key is named "
                                            "\"Vandrel\" and the project name, and Windows takes at most 255 "
                                            "characters, so at most 248")) << error;
  }
}

// The screen saver is copied as "<system folder>\<name>.scr", the plug-in
// into the player's folder under the name; a standalone project is not.
TEST(Manifest, SaverOrPluginNamedWhatCannotBeAFileName_Refused) {
  struct Case {
    uint32_t type;
    std::string toml, says;
  } cases[] = {
      {5, "'Harbour: Night'", "is no file name Windows can create, and the screen saver is copied under it"},
      {6, "'Harbour/Night?'", "holds a separator, but the plug-in is copied under this name"},
      {5, R"('\Harbour')", "holds a separator, but the screen saver"},
      {6, "'Harbour?'", "is no file name Windows can create, and the plug-in is copied under it"},
      {5, "'aux'", "a device name"},
      {6, "'Harbour.'", "ending in a dot"},
  };
  for (const Case& c : cases) {
    std::string error = SettingRefusal(c.type, "ProjectName", c.toml);
    EXPECT_NE(std::string::npos, error.find("setting \"ProjectName\" (")) << c.toml << "\n" << error;
    EXPECT_NE(std::string::npos, error.find(c.says)) << c.toml << "\n" << error;
  }
  EXPECT_EQ("", SettingRefusal(2, "ProjectName", "'Harbour: Night'"));
}

// The installer writes each file beside its name under this suffix, and
// removes one found there as left by an interrupted installation.
TEST(Manifest, ItemNamedLikeTheInstallersCopyBesideAFile_Refused) {
  for (const char* name : {"scene.vdl~vdlnew", "music\\THEME.CGR~VdlNew"}) {
    std::string error = TextRefusalOf(RuntimeEntries(1) + ProjectFile(name, "f.bin"));
    EXPECT_NE(std::string::npos, error.find("file \"" + std::string(name) + "\": the name ends in \"~vdlnew\"")) << error;
  }
  EXPECT_EQ("", TextRefusalOf(RuntimeEntries(1) + ProjectFile("scene~vdlnew.vdl", "f.bin")));
}

// What only the disk shows: sources that are no files or too large, and
// names found in a folder.
TEST_F(ManifestOnDisk, SourcesThatCannotBePacked_RefusedNamingTheEntry) {
  PutFile(dir_, "bad/a<b.vdl", "f");
  // Sparse: no disk space used, and vpack must not read it to refuse it.
  ASSERT_EQ(0, system(("truncate -s 4G '" + dir_.File("huge.bin") + "'").c_str()));
  std::vector<std::pair<std::string, std::string>> cases = {
      {head_ + "[[folder]]\nsource = \"bad\"\n", "folder \"bad\", item \"a<b.vdl\""},
      {head_ + ProjectFile("huge.vdl", "huge.bin"), "file \"huge.vdl\": source"},
      {head_ + ProjectFile("huge.vdl", "huge.bin"), "is 4294967296 bytes; an installer holds less than 2 GiB"},
      {head_ + ProjectFile("gone.vdl", "gone.bin"), "file \"gone.vdl\": source \"" + dir_.File("gone.bin") +
                                                       "\" cannot be read: no such file"},
      {head_ + ProjectFile("dir.vdl", "bad"), "file \"dir.vdl\": source \"" + dir_.File("bad") +
                                                 "\" is not a regular file"},
      {head_ + "[[folder]]\nsource = \"huge.bin\"\n", "folder \"huge.bin\": \"" + dir_.File("huge.bin") +
                                                          "\" is not a folder"},
  };
  for (const auto& [manifest, says] : cases) {
    std::string error = DiskRefusalOf(manifest);
    EXPECT_NE(std::string::npos, error.find(says)) << manifest << "\n" << error;
  }
  PutFile(dir_, "folder.toml/x", "");
  EXPECT_NE(std::string::npos,
            RefusalOf([&] { vpack::LoadManifest(dir_.File("folder.toml")); }).find("is a folder"));
}

// A run names every problem it finds, each once and so that the publisher
// can tell the entries apart; a manifest that cannot be read says what to do.
TEST_F(ManifestOnDisk, Problems_EveryOneOfARunNamedSoThatItCanBeActedOn) {
  PutFile(dir_, "content/a.vdl", "a");
  PutFile(dir_, "self.toml", "include = \"self.toml\"\n");
  PutFile(dir_, "loop1.toml", "include = \"loop2.toml\"\n");
  PutFile(dir_, "loop2.toml", "include = \"loop1.toml\"\n");
  std::string folder = "[[folder]]\nsource = \"content\"\nlist = \"project\"\n";
  struct Case {
    std::string manifest;
    std::vector<std::string> says;
  } cases[] = {
      {testing_support::ManifestHead(1),
       {"no file \"Tessaron.dll\"", "no file \"VandrelViewer.exe\"", "no file \"channels\\SaverUnit.dll\""}},
      {head_ + ProjectFile("a.vdl", "gone.bin") + ProjectFile("b.vdl", "lost.bin") + "[[folder]]\nsource = \"none\"\n",
       {"gone.bin\" cannot be read", "lost.bin\" cannot be read", "folder \"none\": "}},
      {head_ + folder + folder, {"folder #3 \"content\", item \"a.vdl\": duplicate item name (same as " +
                                 testing_support::PlaceIn(dir_.File("m.toml"), head_ + folder, folder) +
                                 ": folder #2 \"content\""}},
      {head_ + ProjectFile("x.vdl", "content/a.vdl") + ProjectFile("X.VDL", "content/a.vdl") +
           ProjectFile("y.vdl", "content/a.vdl") + ProjectFile("Y.vdl", "content/a.vdl"),
       {"file \"x.vdl\": duplicate", "file \"y.vdl\": duplicate"}},
      {std::string("\xFF\xFE[\0s\0]\0", 8), {"m.toml: is UTF-16 text; save it as UTF-8"}},
      {"include = \"m.toml\"\n", {"include \"m.toml\" is this manifest itself"}},
      {"include = \"loop1.toml\"\n",
       {"loop2.toml:1:11: include \"loop1.toml\" is \"",
        "loop1.toml\", which includes this manifest: the includes go round in a loop"}},
  };
  for (const Case& c : cases) {
    std::string error = DiskRefusalOf(c.manifest);
    for (const std::string& says : c.says) EXPECT_NE(std::string::npos, error.find(says)) << says << "\n" << error;
  }
}

// The installer reads payload text with the ANSI functions: names and
// settings go in as the code page's bytes, and limits count those bytes.
TEST(Manifest, CodePage_TextConvertedAndLimitsCountedInItsBytes) {
  std::string e200;
  for (int i = 0; i < 200; ++i) e200 += "\u00e9";
  std::string head = RuntimeEntries(1);
  std::string runtime = head.substr(head.find("[[file]]"));
  std::string settings = head.substr(0, head.find("[[file]]"));
  // 200 letters are 200 bytes in code page 1252, 400 in UTF-8: they fit.
  vpack::Manifest manifest = Read(settings + "InstallPath = 'C:\\Programme\\Caf\u00e9" + e200 + "'\n" + runtime +
                                  ProjectFile("caf\u00e9/men\u00fa \u00e9.vdl", "f.bin") + ProjectFile(e200, "f.bin"));
  EXPECT_NE(nullptr, Find(manifest, "caf\xE9\\men\xFA \xE9.vdl"));
  EXPECT_NE(nullptr, Find(manifest, std::string(200, '\xE9')));
  bool found = false;
  for (const vpack::SettingValue& setting : manifest.settings) {
    if (std::string(setting.info->name) == "InstallPath") {
      found = setting.stored == "C:\\Programme\\Caf\xE9" + std::string(200, '\xE9') &&
              setting.text == "C:\\Programme\\Caf\u00e9" + e200;
    }
  }
  EXPECT_TRUE(found);
  manifest = Read("code-page = 1251\n" + head + ProjectFile("\u0441\u0446\u0435\u043d\u0430.vdl", "f.bin"));
  EXPECT_NE(nullptr, Find(manifest, "\xF1\xF6\xE5\xED\xE0.vdl"));

  std::string e259 = e200;
  for (int i = 200; i < 259; ++i) e259 += "\u00e9";
  struct Case {
    std::string manifest;
    const char* says;
  } cases[] = {
      {head + ProjectFile("\u0151.vdl", "f.bin"), "holds \"\u0151\" (U+0151), which code page 1252 cannot hold"},
      {"code-page = 65001\n" + head, "code-page 65001 is not a Windows ANSI code page vpack writes"},
      {settings + "InstallPath = '" + e259 + "'\n" + runtime,
       "setting \"InstallPath\" is 259 bytes in code page 1252; at most 258"},
      {head + ProjectFile(e200 + e200, "f.bin"), "400 bytes in the code page; an item name, listed or not, holds at "
                                                 "most 259"},
      {head + ProjectFile(e200 + e200.substr(0, 150), "f.bin"), "275 bytes in the code page; an item name, listed or "
                                                                "not, holds at most 259"},
  };
  for (const Case& c : cases) {
    std::string error = TextRefusalOf(c.manifest);
    EXPECT_NE(std::string::npos, error.find(c.says)) << c.says << "\n" << error;
  }
}

// A name TOML cannot hold comes only from a folder.
TEST_F(ManifestOnDisk, NameFromAFolderNotInUtf8_Refused) {
  PutFile(dir_, "odd/a\xff.vdl", "f");
  std::string error = DiskRefusalOf(head_ + "[[folder]]\nsource = \"odd\"\n");
  EXPECT_NE(std::string::npos, error.find("the name is not valid UTF-8 (byte 0xFF at offset 1)")) << error;
}

// Under the folder an installing type writes to, no installation can
// create it: refused, naming the longest.
TEST(Manifest, InstalledPathPastAnsiLimit_RefusedNamingTheLongest) {
  std::string standalone = RuntimeEntries(2);
  std::string folder = "C:\\" + std::string(200, 'p');
  standalone.replace(standalone.find("InstallPath = 'C:\\x'"), 20, "InstallPath = '" + folder + "'");
  std::string fits = std::string(259 - 204, 'a');  // 203 of folder, a backslash
  std::string error = TextRefusalOf(standalone + ProjectFile(fits, "f.bin") + ProjectFile(fits + "b", "f.bin") +
                                    ProjectFile(fits + "bc", "f.bin"));
  EXPECT_NE(std::string::npos, error.find("item \"" + fits + "bc\": installed as")) << error;
  EXPECT_NE(std::string::npos, error.find("261 characters")) << error;
  EXPECT_NE(std::string::npos, error.find("2 item(s)")) << error;
}

TEST_F(ManifestOnDisk, Litter_LeftOutCountedUnlessTakenOnPurpose) {
  for (const char* path : {"content/scene.vdl", "content/.git/config", "content/.git/objects/ab", "content/.svn/entries",
                           "content/.hg/store", "content/sub/.DS_Store", "content/THUMBS.DB", "content/desktop.ini",
                           "content/scene.vdl~"}) {
    PutFile(dir_, path, path);
  }
  vpack::Manifest manifest = Load(head_ + "[[folder]]\nsource = \"content\"\n");
  EXPECT_NE(nullptr, Find(manifest, "scene.vdl"));
  EXPECT_EQ(vpack::RuntimeFiles(1).size() + 1, manifest.files.size());  // the runtime and the scene
  EXPECT_EQ(7u, manifest.litterLeftOut);
  manifest = Load(head_ + "[[folder]]\nsource = \"content\"\ninclude-litter = true\n");
  for (const char* taken : {".git\\objects\\ab", "sub\\.DS_Store", "scene.vdl~", "desktop.ini"}) {
    EXPECT_NE(nullptr, Find(manifest, taken)) << taken;
  }
  EXPECT_EQ(0u, manifest.litterLeftOut);
}

// A link must not carry a file from outside into an installer unseen, and
// what the walk passes over is said.
TEST_F(ManifestOnDisk, LinksAndEmptyFolders_OutsideRefusedOthersWarned) {
  TempDir outside;
  PutFile(outside, "secret", "key");
  PutFile(dir_, "content/scene.vdl", "s");
  PutFile(dir_, "content/sub/more.vdl", "m");
  std::filesystem::create_directories(dir_.File("content/empty/deeper"));
  std::filesystem::create_symlink(dir_.File("content/scene.vdl"), dir_.File("content/alias.vdl"));
  std::filesystem::create_directory_symlink(dir_.File("content/sub"), dir_.File("content/loop"));
  std::string folder = head_ + "[[folder]]\nsource = \"content\"\n";
  vpack::Manifest manifest = Load(folder);
  EXPECT_NE(nullptr, Find(manifest, "alias.vdl"));
  EXPECT_EQ(nullptr, Find(manifest, "loop\\more.vdl"));
  ASSERT_EQ(2u, manifest.warnings.size());
  EXPECT_NE(std::string::npos, manifest.warnings[0].find("symbolic link \"" + dir_.File("content/loop") + "\" to a folder"))
      << manifest.warnings[0];
  EXPECT_NE(std::string::npos, manifest.warnings[1].find("1 empty folder(s) not packed, such as \"empty/deeper\""))
      << manifest.warnings[1];

  std::filesystem::create_symlink(outside.File("secret"), dir_.File("content/sub/key.vdl"));
  std::string error = DiskRefusalOf(folder);
  EXPECT_NE(std::string::npos, error.find("symbolic link \"" + dir_.File("content/sub/key.vdl") + "\" leads to \"" +
                                          outside.File("secret") + "\", outside"))
      << error;
  // Left out by a pattern, it is not looked at.
  EXPECT_NE(nullptr, Find(Load(folder + "exclude = \"key.vdl\"\n"), "scene.vdl"));
}

TEST(Manifest, VariablesInNameAndTarget_ExpandedOrRefused) {
  std::string vars = "[vars]\ndest = \"data\"\n";
  vpack::Manifest manifest = vpack::ParseManifest(
      "/project/m.toml", RuntimeEntries(1) + vars + ProjectFile("${dest}/x.vdl", "f.bin") +
                             "[[folder]]\nsource = \"lights\"\ntarget = \"${dest}/lights\"\n");
  EXPECT_NE(nullptr, Find(manifest, "data\\x.vdl"));
  ASSERT_EQ(1u, manifest.folders.size());
  EXPECT_EQ("data\\lights", manifest.folders[0].target);
  EXPECT_EQ("/project/lights", manifest.folders[0].source);
  for (const std::string& entry : {ProjectFile("${nope}/x.vdl", "f.bin"),
                                   std::string("[[folder]]\nsource = \"lights\"\ntarget = \"${nope}\"\n")}) {
    EXPECT_NE(std::string::npos, TextRefusalOf(RuntimeEntries(1) + vars + entry).find("uses unknown variable \"nope\""))
        << entry;
  }
}

}  // namespace
