// The stub's windows on screens scaled as laptops ship them: the stubs
// declare themselves DPI-aware, so Windows draws them sharp rather than
// stretched, and at each scale every control lies within its window and
// every word within its control, in English, French and Japanese.
#include <windows.h>

#include <algorithm>

#include "packager/LanguageBlock.h"
#include "tests/e2e/StandaloneFixture.h"
#include "tests/support/KitTexts.h"
#include "tests/support/MessageTypes.h"

namespace standalone_e2e {
namespace {

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size() + 1, L'\0');
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  wide.resize(length > 0 ? static_cast<size_t>(length - 1) : 0);
  return wide;
}

// The manifest Windows reads from the executable's resources.
std::string ManifestOf(const std::string& program) {
  HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return "<not loaded>";
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  std::string manifest = found == nullptr ? "<none>"
                                          : std::string(static_cast<const char*>(LockResource(LoadResource(module, found))),
                                                        SizeofResource(module, found));
  FreeLibrary(module);
  return manifest;
}

TEST(DpiAwareness, BothStubsOfBothMachines_DeclaredInTheirManifests) {
  const std::string aware =
      "<application xmlns=\"urn:schemas-microsoft-com:asm.v3\"><windowsSettings>"
      "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>";
  for (const std::string& stub : {testing_support::StubPath(), testing_support::StubPathI686()}) {
    for (const char* variant : {"VandrelStub.exe", "VandrelStubAdmin.exe"}) {
      std::string path = stub.substr(0, stub.find_last_of('\\') + 1) + variant;
      EXPECT_NE(std::string::npos, ManifestOf(path).find(aware)) << path << ": " << ManifestOf(path);
    }
  }
}

// The scale Wine gives the programs it starts from now on, as Windows'
// display setting does; put back when the test ends.
class ScopedLogPixels {
 public:
  explicit ScopedLogPixels(DWORD dpi) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "LogPixels", REG_DWORD, &dpi, sizeof(dpi));
  }
  ~ScopedLogPixels() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "LogPixels"); }

 private:
  static constexpr char kKey[] = "Control Panel\\Desktop";
};

struct Scale {
  int dpi;
  const char* language;  // a kit language, or "en"
  uint16_t id;
};

void PrintTo(const Scale& scale, std::ostream* out) { *out << scale.dpi << " DPI, " << scale.language; }

class DpiTest : public StandaloneTest, public ::testing::WithParamInterface<Scale> {
 protected:
  ~DpiTest() override { testing_support::AcceptTranslations({}); }

  // Each child within the window's client area; each word within its
  // control, in the dialogs' face at this scale, less the room a push
  // button's edge, a check box's square and a group box's corners take
  // (docs/manifest.md); a static as many lines as it is high.
  void ExpectWhole(HWND window, const std::string& what) {
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    int dpi = GetParam().dpi;
    HFONT face = CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             "MS Sans Serif");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, face);
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT box;
      GetWindowRect(child, &box);
      std::string name = what + " control " + std::to_string(GetDlgCtrlID(child));
      EXPECT_TRUE(box.left >= client.left && box.top >= client.top && box.right <= client.right &&
                  box.bottom <= client.bottom)
          << name << " at " << box.left << "," << box.top << "-" << box.right << "," << box.bottom << " outside "
          << client.left << "," << client.top << "-" << client.right << "," << client.bottom;
      std::string className = StubDriver::ClassName(child);
      if (className == "Edit" || StubDriver::IsMessageBox(window)) continue;
      std::wstring words = Wide(StubDriver::Utf8Text(child));
      SIZE size = {};
      GetTextExtentPoint32W(dc, words.c_str(), static_cast<int>(words.size()), &size);
      LONG style = GetWindowLongA(child, GWL_STYLE) & 0x0F;
      int margin = className != "Button"                                      ? 0
                   : style == BS_GROUPBOX                                     ? MulDiv(16, dpi, 96)
                   : style == BS_AUTOCHECKBOX || style == BS_CHECKBOX ? MulDiv(20, dpi, 96)
                                                                              : MulDiv(6, dpi, 96);
      TEXTMETRICA metrics = {};
      GetTextMetricsA(dc, &metrics);
      LONG lines = className == "Static" ? std::max<LONG>(1, (box.bottom - box.top) / metrics.tmHeight) : 1;
      EXPECT_LE(size.cx, lines * (box.right - box.left - margin)) << name << ": " << StubDriver::Utf8Text(child);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(face);
  }
};

TEST_P(DpiTest, LicenceOptionsProgressAndDone_EveryControlAndWordWithinItsWindow) {
  ScopedLogPixels scale(static_cast<DWORD>(GetParam().dpi));
  std::string language = GetParam().language;
  if (language != "en") {
    std::map<texts::Id, std::string> words = testing_support::KitWords(VDL_KIT_TEXTS, language);
    ASSERT_EQ(static_cast<size_t>(texts::kTextCount), words.size()) << language;
    std::vector<std::string> accepted(texts::kTextCount);
    for (const auto& text : words) accepted[static_cast<size_t>(text.first)] = text.second;
    testing_support::AcceptTranslations(accepted);
    packager::Bytes block = packager::LanguageBlock(GetParam().id, true, words);
    alterProject_ = [block](packager::PayloadBuilder& project) { project.Add("LANG", "xx", block); };
  }
  // The licence comes first, where the publisher gives one.
  std::function<void(packager::PayloadBuilder&)> carried = alterProject_;
  alterProject_ = [carried](packager::PayloadBuilder& project) {
    if (carried) carried(project);
    project.Add("LICN", "*", LicenceItem(std::string(4000, 'x')));
  };
  std::string shot = "dpi-" + std::to_string(GetParam().dpi) + "-" + language;
  DialogSeen licence = Start();
  ASSERT_NE(nullptr, licence.window);
  Shot(shot + "-licence");
  ExpectWhole(licence.window, "licence dialog");
  SendMessageA(GetDlgItem(licence.window, 1008), BM_CLICK, 0, 0);
  ASSERT_TRUE(driver_.Press(licence.window, 1009));
  DialogSeen options = driver_.WaitForDialog(kRunMs);
  ASSERT_NE(nullptr, options.window);
  Shot(shot + "-options");
  ExpectWhole(options.window, "options dialog");
  ASSERT_TRUE(driver_.Press(options.window, kInstall));
  DialogSeen next = driver_.WaitForDialog(kRunMs);
  for (; next.window != nullptr && !StubDriver::IsMessageBox(next.window); next = driver_.WaitForDialog(kRunMs)) {
    ExpectWhole(next.window, "progress window");
  }
  ASSERT_NE(nullptr, next.window);
  Shot(shot + "-done");
  ExpectWhole(next.window, "message box");
  ASSERT_TRUE(driver_.Press(next.window, IDOK));
  ASSERT_TRUE(driver_.WaitForExit(kRunMs));
  EXPECT_EQ(0u, driver_.ExitCode());
}

const Scale kScales[] = {{96, "en", 0},      {120, "en", 0},      {144, "en", 0},      {192, "en", 0},
                         {96, "fr", 0x040C}, {120, "fr", 0x040C}, {144, "fr", 0x040C}, {192, "fr", 0x040C},
                         {96, "ja", 0x0411}, {120, "ja", 0x0411}, {144, "ja", 0x0411}, {192, "ja", 0x0411}};

INSTANTIATE_TEST_SUITE_P(Scales, DpiTest, ::testing::ValuesIn(kScales), [](const ::testing::TestParamInfo<Scale>& info) {
  return std::to_string(info.param.dpi) + "_" + (std::string(info.param.language) == "ja" ? "ja" : info.param.language);
});

}  // namespace
}  // namespace standalone_e2e
