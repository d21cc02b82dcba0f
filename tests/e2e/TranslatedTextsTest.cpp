// The installer in the publisher's language: its windows and boxes carry the
// texts the payload holds, and English where it holds none, or one the
// installer cannot read.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>

#include "packager/EngineFormat.h"
#include "packager/LanguageBlock.h"
#include "payload/TextItems.h"
#include "payload/Texts.h"
#include "tests/e2e/StandaloneFixture.h"
#include "tests/support/KitTexts.h"
#include "tests/support/MessageTypes.h"

namespace standalone_e2e {
namespace {

std::string Convert(const std::string& text, UINT from, UINT to) {
  std::wstring wide(text.size() + 1, L'\0');
  int length = MultiByteToWideChar(from, 0, text.c_str(), static_cast<int>(text.size()), &wide[0],
                                   static_cast<int>(wide.size()));
  std::string out(4 * text.size() + 1, '\0');
  length = WideCharToMultiByte(to, 0, wide.c_str(), length, &out[0], static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(static_cast<size_t>(length));
  return out;
}

class TranslatedTextsTest : public StandaloneTest {
 protected:
  ~TranslatedTextsTest() override { testing_support::AcceptTranslations({}); }

  // The installer carries given (UTF-8, by text) as the language of this
  // Windows number, its only one and so everyone's; page (0: none named) is
  // the installer's code page, which its names are in.
  void Carry(const std::map<texts::Id, std::string>& given, uint16_t language, UINT page = 0,
             bool logAsShown = false) {
    shown_.assign(texts::kTextCount, "");
    std::vector<std::string> accepted(texts::kTextCount);
    for (const auto& text : given) {
      shown_[static_cast<size_t>(text.first)] = Convert(text.second, CP_UTF8, CP_ACP);
      accepted[static_cast<size_t>(text.first)] = text.second;
    }
    packager::Bytes block = packager::LanguageBlock(language, true, given);
    alterProject_ = [block, page, logAsShown](packager::PayloadBuilder& project) {
      if (page != 0) project.AddU32("CodePage", page);
      project.Add("LANG", "xx", block);
      if (logAsShown) project.Add(payload::kTypeText, payload::kLogItem, packager::Bytes{'t'});
    };
    testing_support::AcceptTranslations(accepted);
  }

  // The text as the installer must show it, read as the driver reads it.
  std::string Shown(texts::Id id) const {
    const std::string& given = shown_[static_cast<size_t>(id)];
    return given.empty() ? texts::English(id) : given;
  }

  // The written installer, logging to log.
  bool StartLogged(const std::string& log) { return driver_.Start(dir_.File("setup.exe"), "\"/LOG=" + log + "\""); }

  void ExpectOptionsWords(HWND options) {
    EXPECT_EQ(settings_.projectName + Shown(texts::Id::kCaptionOptionsSuffix), StubDriver::WindowText(options));
    for (const ControlWords& words : kOptionsWords) {
      EXPECT_EQ(Shown(words.text), StubDriver::ControlText(GetDlgItem(options, words.control)))
          << texts::Key(words.text);
    }
  }

  std::vector<std::string> shown_;
};

// The log asked for in the shown words, too.
TEST_F(TranslatedTextsTest, SomeTextsCarried_TheseShownEnglishElsewhere) {
  Carry({{texts::Id::kButtonInstall, "Installieren"}, {texts::Id::kDoneStartMenu, "Fertig."}}, 0x0407, 0, true);
  WriteSetup();
  std::string log = dir_.File("setup.log");
  ASSERT_TRUE(StartLogged(log));
  DialogSeen options = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, options.window);
  ExpectOptionsWords(options.window);
  ASSERT_TRUE(driver_.Press(options.window, kInstall));
  std::vector<DialogSeen> boxes = driver_.AnswerAllUntilExit(kRunMs);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("Fertig.", boxes[0].text);
  EXPECT_TRUE(driver_.WaitForExit(5000));
  EXPECT_EQ(0u, driver_.ExitCode());
  std::string logged = testing_support::ReadFileBytes(log);
  EXPECT_NE(std::string::npos, logged.find(": Fertig.")) << logged;
}

// Run under the code page of the language named in VDL_TEXTS_LANGUAGE, with
// every text of the kit's translation file for it.
TEST_F(TranslatedTextsTest, KitLanguage_QuestionOptionsSuccessAndFailureInIt) {
  const char* language = getenv("VDL_TEXTS_LANGUAGE");
  if (language == nullptr || *language == '\0') GTEST_SKIP() << "run by translations.sh, one language at a time";
  // Under another code page the texts would turn to question marks on both
  // sides, and compare equal.
  const char* page = getenv("VDL_TEXTS_PAGE");
  ASSERT_EQ(std::string(page != nullptr ? page : ""), std::to_string(GetACP())) << language;
  std::map<texts::Id, std::string> given = testing_support::KitWords(VDL_KIT_TEXTS, language);
  ASSERT_EQ(static_cast<size_t>(texts::kTextCount), given.size()) << "the kit's " << language << " is incomplete";
  const char* number = getenv("VDL_TEXTS_ID");
  ASSERT_NE(nullptr, number) << "translations.sh gives the language's number";
  Carry(given, static_cast<uint16_t>(strtoul(number, nullptr, 16)));
  settings_.checkDx8 = 1;
  testing_support::ScopedDllOverride noDirectDraw("setup.exe", "ddraw");
  // A question: DirectX is missing.
  DialogSeen question = Start();
  ASSERT_NE(nullptr, question.window);
  EXPECT_EQ(Shown(texts::Id::kAskDirectX), question.text);
  EXPECT_EQ(Shown(texts::Id::kCaptionDirectXCheck), question.caption);
  EXPECT_NE(texts::English(texts::Id::kAskDirectX), question.text);
  ASSERT_TRUE(driver_.Press(question.window, IDYES));
  DialogSeen options = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, options.window);
  ExpectOptionsWords(options.window);
  EXPECT_NE(texts::English(texts::Id::kButtonBrowse), StubDriver::ControlText(GetDlgItem(options.window, kBrowse)));
  Shot(std::string("options-in-") + language);
  // The success.
  ASSERT_TRUE(driver_.Press(options.window, kInstall));
  std::vector<DialogSeen> boxes = driver_.AnswerAllUntilExit(kRunMs);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(Shown(texts::Id::kDoneStartMenu), boxes[0].text);
  EXPECT_EQ(settings_.projectName, boxes[0].caption);
  EXPECT_TRUE(driver_.WaitForExit(5000));
  EXPECT_EQ(0u, driver_.ExitCode());
  // A failure: a file stands where a folder of the installation must go.
  // The log tells administrators in English all the same.
  std::string blocked = dir_.File("Blocked");
  ASSERT_TRUE(testing_support::WriteFileBytes(blocked, "x", 1));
  driver_.Reset();
  std::string log = dir_.File("setup.log");
  ASSERT_TRUE(StartLogged(log));
  question = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, question.window);
  ASSERT_TRUE(driver_.Press(question.window, IDYES));
  options = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, options.window);
  std::string target = blocked + "\\Harbour";
  SendMessageA(GetDlgItem(options.window, kPathEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
  ASSERT_TRUE(driver_.Press(options.window, kInstall));
  boxes = driver_.AnswerAllUntilExit(kRunMs);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(0u, boxes[0].text.find(Shown(texts::Id::kCopyFailure) + "\n" + target)) << boxes[0].text;
  EXPECT_EQ(Shown(texts::Id::kCaptionInstallationError), boxes[0].caption);
  EXPECT_TRUE(driver_.WaitForExit(5000));
  EXPECT_EQ(1u, driver_.ExitCode());
  // The log puts each message on one line: its first line is compared.
  auto firstLine = [](const std::string& text) { return text.substr(0, text.find('\n')); };
  std::string logged = testing_support::ReadFileBytes(log);
  EXPECT_NE(std::string::npos, logged.find(std::string(texts::English(texts::Id::kCaptionInstallationError)) + ": " +
                                           firstLine(texts::English(texts::Id::kCopyFailure))))
      << logged;
  EXPECT_EQ(std::string::npos, logged.find(firstLine(given[texts::Id::kCopyFailure]))) << logged;
}

// An installer in Japanese on a system whose code page lacks its letters:
// its user is the least likely to read Japanese, or to have the fonts to
// show it, so the refusal is in English, the installer's own language.
TEST_F(TranslatedTextsTest, RefusedForTheCodePage_RefusalInEnglish) {
  if (GetACP() == 932) GTEST_SKIP() << "a system of another code page than the installer's";
  Carry({{texts::Id::kForeignCodePage, "\xE3\x81\x93\xE3\x81\xAE\xE3\x82\xB7\xE3\x82\xB9\xE3\x83\x86\xE3\x83\xA0 %1 %2"},
         {texts::Id::kCaptionError, "\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC"}},
        0x0411, 932);
  std::function<void(packager::PayloadBuilder&)> carried = alterProject_;
  alterProject_ = [carried](packager::PayloadBuilder& project) {
    carried(project);
    testing_support::AddProjectFiles(project, {{"\x83\x5C.vdl", packager::EngineEncode(packager::Bytes{'s'})}});
  };
  WriteSetup();
  ASSERT_TRUE(driver_.Start(dir_.File("setup.exe")));
  DialogSeen box = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, box.window);
  EXPECT_EQ("Error", box.caption);
  EXPECT_EQ(0u, box.text.find("The installer was made for code page 932; code page " + std::to_string(GetACP()) +
                              " of this system lacks letters of:")) << box.text;
  ASSERT_TRUE(driver_.Press(box.window, IDOK));
  ASSERT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_EQ(1u, driver_.ExitCode());
}

}  // namespace
}  // namespace standalone_e2e
