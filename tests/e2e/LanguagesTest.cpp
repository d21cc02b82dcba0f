// One installer in several languages, as users of different interface
// languages meet it: each sees the words of the language carried for them,
// read back in UTF-16 whatever the system's code page. languages.sh runs it
// under each interface language and code page.
#include <windows.h>

#include <map>

#include "packager/LanguageBlock.h"
#include "payload/Texts.h"
#include "tests/e2e/StandaloneFixture.h"
#include "tests/support/KitTexts.h"
#include "tests/support/MessageTypes.h"

namespace standalone_e2e {
namespace {

// The kit's words of a language, by text; the first few only where partial.
std::map<texts::Id, std::string> KitWords(const std::string& tag, bool partial = false) {
  std::map<texts::Id, std::string> words = testing_support::KitWords(VDL_KIT_TEXTS, tag);
  EXPECT_EQ(static_cast<size_t>(texts::kTextCount), words.size()) << tag;
  if (!partial) return words;
  std::map<texts::Id, std::string> some;
  for (texts::Id id : {texts::Id::kButtonInstall, texts::Id::kCaptionOptionsSuffix, texts::Id::kDoneStartMenu}) {
    some[id] = words[id];
  }
  return some;
}

class LanguagesTest : public StandaloneTest {
 protected:
  ~LanguagesTest() override { testing_support::AcceptTranslations({}); }

  // The words the user must meet: the language's where it gives them.
  std::string Expected(texts::Id id) const {
    auto found = shown_.find(id);
    return found != shown_.end() ? found->second : texts::English(id);
  }

  std::map<texts::Id, std::string> shown_;
};

// English, German, Japanese and Simplified Chinese in full, Brazilian
// Portuguese in part. VDL_LANGUAGE_UI is the interface language the run is
// under (a locale Wine did not take must not pass), VDL_LANGUAGE_ASK the
// /LANG= an administrator gives, VDL_LANGUAGE_SHOWN the language expected.
TEST_F(LanguagesTest, OneInstallerManyLanguages_EachUserMeetsTheOneCarriedForThem) {
  const char* ui = getenv("VDL_LANGUAGE_UI");
  const char* ask = getenv("VDL_LANGUAGE_ASK");
  const char* shown = getenv("VDL_LANGUAGE_SHOWN");
  if (ui == nullptr || shown == nullptr) GTEST_SKIP() << "run by languages.sh, one language at a time";
  ASSERT_EQ(strtoul(ui, nullptr, 16), GetUserDefaultUILanguage());
  const std::pair<const char*, uint16_t> carried[] = {{"de", 0x0407}, {"ja", 0x0411}, {"zh-CN", 0x0804}};
  std::map<std::string, std::map<texts::Id, std::string>> words;
  for (const auto& language : carried) words[language.first] = KitWords(language.first);
  words["pt-BR"] = KitWords("pt-BR", true);
  if (std::string(shown) != "en") shown_ = words[shown];
  alterProject_ = [&carried, &words](packager::PayloadBuilder& project) {
    for (const auto& language : carried) {
      project.Add("LANG", language.first, packager::LanguageBlock(language.second, false, words[language.first]));
    }
    project.Add("LANG", "pt-BR", packager::LanguageBlock(0x0416, false, words["pt-BR"]));
  };
  std::vector<std::string> accepted(texts::kTextCount);
  for (const auto& text : shown_) accepted[static_cast<size_t>(text.first)] = text.second;
  testing_support::AcceptTranslations(accepted);
  WriteSetup();
  std::string asked = ask != nullptr && *ask != 0 ? std::string(" /LANG=") + ask : "";
  ASSERT_TRUE(driver_.Start(dir_.File("setup.exe"), "\"/LOG=" + setupLog_ + "\"" + asked));

  DialogSeen options = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, options.window);
  EXPECT_EQ(settings_.projectName + Expected(texts::Id::kCaptionOptionsSuffix), StubDriver::Utf8Text(options.window));
  for (const ControlWords& words : kOptionsWords) {
    EXPECT_EQ(Expected(words.text), StubDriver::Utf8Text(GetDlgItem(options.window, words.control)))
        << texts::Key(words.text);
  }
  Shot(std::string("languages-") + ui + "-" + shown);
  ASSERT_TRUE(driver_.Press(options.window, kInstall));
  DialogSeen done = driver_.WaitForDialog(kRunMs);
  while (done.window != nullptr && !StubDriver::IsMessageBox(done.window)) done = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, done.window);
  EXPECT_EQ(Expected(texts::Id::kDoneStartMenu), StubDriver::MessageBoxUtf8(done.window));
  ASSERT_TRUE(driver_.Press(done.window, IDOK));
  ASSERT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_EQ(0u, driver_.ExitCode());
  // The log says which language was taken, and stays English.
  EXPECT_EQ(std::string(shown) != "en", Logged(std::string("Language: ") + shown));
  bool askedCarried = asked.empty() || words.count(ask) != 0;
  EXPECT_EQ(!askedCarried, Logged(std::string("Language not carried: ") + (ask != nullptr ? ask : "")));
  std::string english = texts::English(texts::Id::kDoneStartMenu);
  std::string logged = testing_support::ReadFileBytes(setupLog_);
  EXPECT_NE(std::string::npos, logged.find(settings_.projectName + ": " + english.substr(0, english.find('\r'))))
      << logged;
}

}  // namespace
}  // namespace standalone_e2e
