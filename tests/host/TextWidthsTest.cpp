// Translated dialog words against the room their controls have: a word
// too long installs fine but shows cut short, so pack and verify warn, and
// only of the words that do not fit.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/PackProject.h"
#include "tests/support/VpackRun.h"
#include "vpack/base/CodePage.h"
#include "vpack/rules/TextWidths.h"

namespace {

// The lines of a program's output that say a text is cut short.
std::string CutLines(const std::string& err) {
  std::string lines;
  size_t start = 0;
  while (start < err.size()) {
    size_t end = err.find('\n', start);
    if (end == std::string::npos) end = err.size();
    std::string line = err.substr(start, end - start);
    if (line.find("pixels wide") != std::string::npos) lines += line + "\n";
    start = end + 1;
  }
  return lines;
}

class TextWidths : public testing_support::VpackFolderTest {};

// MS Sans Serif 8 pt draws the French at 157 pixels. Its dialog base unit
// across is 6 pixels, so the 50-unit button is 75 wide, 69 within its edge.
TEST_F(TextWidths, ButtonTextTooLong_NamedByPackAndVerifyWithWidthAndRoom) {
  std::string head = testing_support::WriteRuntimeProject(dir_, 2);
  std::string table = "[texts.fr]\n\"dialog.install\" = \"Installer maintenant le programme\"\n"
                      "\"dialog.cancel\" = \"Annuler\"\n"
                      "\"dialog.folder_prompt\" = \"Veuillez choisir le dossier de destination de l'installation.\"\n";
  Put("tour.toml", head + table);
  const std::string says =
      "is 157 pixels wide in MS Sans Serif 8 pt (code page 1252), and the Install button has room for 69: the "
      "installer shows it cut short\n";

  testing_support::VpackOutcome pack = Vpack("pack tour.toml -o setup.exe");
  EXPECT_EQ(pack.status, 0) << pack.err;
  std::string place = testing_support::PlaceIn("tour.toml", head + table, "\"dialog.install");
  EXPECT_EQ(CutLines(pack.err), "vpack: warning: " + place + ": text \"dialog.install\" (fr) " + says);

  testing_support::VpackOutcome verify = Vpack("verify setup.exe");
  EXPECT_EQ(verify.status, 0) << verify.err;
  EXPECT_EQ(CutLines(verify.err), "vpack: setup.exe: warning: LANG \"fr\": text dialog.install " + says);
}

// Cyrillic letters are wider in the Cyrillic face than their bytes' Western
// letters are; the Japanese page has no face, so each full-width character
// is taken as one 11-pixel em.
TEST_F(TextWidths, PageOwnFaceOrEstimate_WidthsAsWindowsDrawsThem) {
  vpack::CodePage cyrillic(1251), japanese(932);
  std::string problem;
  EXPECT_EQ(vpack::TextWidth(cyrillic, cyrillic.FromUtf8("Установить программу", problem)), 119);
  EXPECT_EQ(vpack::TextWidth(japanese, japanese.FromUtf8("インストール", problem)), 66);
  // "&" marks the shortcut's letter and is not drawn; "&&" draws one.
  EXPECT_EQ(vpack::TextWidth(cyrillic, "&Cancel"), vpack::TextWidth(cyrillic, "Cancel"));
  EXPECT_EQ(vpack::TextWidth(cyrillic, "A&&B"), 7 + 6 + 7);
  EXPECT_EQ(problem, "");
}

}  // namespace
