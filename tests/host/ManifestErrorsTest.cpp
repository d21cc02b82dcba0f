// A manifest's or a translation's error as the publisher reads it: the file,
// line and column of what is wrong, so that an editor goes straight there,
// and for a name vpack does not know, the known one it most likely stands for.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/PackProject.h"
#include "vpack/base/Error.h"
#include "vpack/manifest/Manifest.h"

using testing_support::PutFile;
using testing_support::TempDir;

namespace {

// The one-line error reading the manifest's text as /project/p.toml gives,
// or "" when it reads.
std::string RefusalOf(const std::string& text) {
  try {
    vpack::ParseManifest("/project/p.toml", text);
  } catch (const vpack::Error& e) {
    return e.what();
  }
  return std::string();
}

TEST(ManifestErrors, SettingMisspeltInCase_ItsLineAndTheKnownSetting) {
  EXPECT_EQ("/project/p.toml:4:1: unknown setting \"CheckDX8\" (did you mean \"CheckDx8\"?)",
            RefusalOf("stub = \"stub.exe\"\n[settings]\nProjectType = 1\nCheckDX8 = 1\n"));
}

// Every table of fixed keys, not the settings alone, offers the key meant.
TEST(ManifestErrors, KeyMisspeltInAnyTable_ItsLineAndTheKeyMeant) {
  struct Case {
    std::string text, error;
  } cases[] = {
      {"[[file]]\nname = 'a.vdl'\nsorce = 'a.bin'\n",
       "/project/p.toml:3:1: file #1 has unknown key \"sorce\" (did you mean \"source\"?)"},
      {"[[file]]\nname = 'a.vdl'\nsource = 'a.bin'\n[[folder]]\n  source = 'art'\n  lsit = 'project'\n",
       "/project/p.toml:6:3: folder #1 has unknown key \"lsit\" (did you mean \"list\"?)"},
      {"[branding]\nfile-version = '1.0.0.0'\ncompnay-name = 'Vandrel'\n",
       "/project/p.toml:3:1: branding \"compnay-name\" is not a branding key (did you mean \"company-name\"?)"},
      {"stub = 'stub.exe'\ncode_page = 1252\n",
       "/project/p.toml:2:1: the manifest has unknown key \"code_page\" (did you mean \"code-page\"?)"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.error, RefusalOf(c.text)) << c.text;
}

// A guess far from the word would send the publisher the wrong way: the
// message then says only what it said before, the place in front.
TEST(ManifestErrors, NothingNearTheWord_NoSuggestion) {
  struct Case {
    std::string text, error;
  } cases[] = {
      {"[[file]]\nname = 'a.vdl'\ncolour = 'red'\n", "/project/p.toml:3:1: file #1 has unknown key \"colour\""},
      {"[settings]\nWallpaper = 1\n", "/project/p.toml:2:1: unknown setting \"Wallpaper\""},
      {"[texts]\n\"greeting\" = \"Hi\"\n",
       "/project/p.toml:2:1: texts has unknown key \"greeting\" (the kit's texts/template.toml lists every key)"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.error, RefusalOf(c.text)) << c.text;
}

// The line is the translation's own; the manifest's line that takes it is
// named too, as the publisher may not know which translation is read.
TEST(ManifestErrors, TranslationFileBroken_ItsLineAndTheManifestThatTakesIt) {
  TempDir dir;
  PutFile(dir, "p.toml", "stub = 'stub.exe'\n[settings]\nProjectType = 1\n[texts]\nfrom = 'texts/fr.toml'\n");
  std::string takenBy = ", in the translation taken by " + dir.File("p.toml") + ":5:8";
  struct Case {
    std::string translation, error;
  } cases[] = {
      {"[texts]\n\"done\" = \"Fini\"\n\"dialog.instal\" = \"Installer\"\n",
       ":3:1: texts has unknown key \"dialog.instal\" (did you mean \"dialog.install\"?)"},
      // Only a manifest names translations and the log's language.
      {"[texts]\nfrom = \"de\"\n", ":2:1: texts has unknown key \"from\" (the kit's texts/template.toml lists every key)"},
      // Found once the texts are read, with the language they are in.
      {"[texts]\n\"dialog.install\" = \"Installer\"\n\"done\" = \"Fini %1\"\n",
       ":3:1: text \"done\" (fr) holds the placeholder \"%1\", which the English lacks: the installer fills in only the English's"},
  };
  for (const Case& c : cases) {
    PutFile(dir, "texts/fr.toml", c.translation);
    std::string error;
    try {
      vpack::LoadManifest(dir.File("p.toml"));
    } catch (const vpack::Error& e) {
      error = e.what();
    }
    EXPECT_EQ(dir.File("texts/fr.toml") + c.error + takenBy, error);
  }
}

}  // namespace
