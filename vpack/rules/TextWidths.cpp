#include "vpack/rules/TextWidths.h"

#include "vpack/rules/FontWidths.h"

namespace vpack {
namespace {

// The dialogs are FONT 8, "MS Sans Serif" (ui/Resources.rc); the width is
// each control's there, in dialog units.
struct DialogControl {
  texts::Id id;
  const char* name;
  int width;
  int margin;     // pixels of the control's own that text cannot use
  int lines = 1;  // a static as high as this many, which its words wrap over
};

// A push button's text is centred inside its 3-D edge and focus rectangle,
// some 3 pixels a side; a group box's caption starts past the frame's
// corner and ends before it, some 8 a side; a check box's follows its
// square and a gap, some 20 pixels; a static's text may use its whole
// width.
constexpr int kButtonMargin = 6;
constexpr int kGroupBoxMargin = 16;
constexpr int kCheckBoxMargin = 20;
constexpr int kStaticMargin = 0;

constexpr DialogControl kControls[] = {
    {texts::Id::kButtonInstall, "the Install button", 50, kButtonMargin},
    {texts::Id::kButtonCancel, "the Cancel button", 50, kButtonMargin},
    {texts::Id::kButtonBrowse, "the Browse button", 50, kButtonMargin},
    {texts::Id::kFolderGroup, "the folder's group box", 225, kGroupBoxMargin},
    {texts::Id::kFolderPrompt, "the folder's prompt, one line high,", 211, kStaticMargin},
    {texts::Id::kButtonNext, "the Next button", 50, kButtonMargin},
    {texts::Id::kLicenceAccept, "the licence's check box", 266, kCheckBoxMargin},
    // Words wrap at spaces, so two lines hold a little less than twice one.
    {texts::Id::kLicencePrompt, "the licence's prompt, two lines high,", 266, 24, 2},
};

const DialogControl* ControlOf(texts::Id id) {
  for (const DialogControl& control : kControls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

const FontFace* FaceOf(unsigned codePage) {
  for (int i = 0; i < kFontFaceCount; ++i) {
    if (kFontFaces[i].codePage == codePage) return &kFontFaces[i];
  }
  return nullptr;
}

// Where no face of the page is known the Western one stands in: ASCII is
// the same letters in every page.
const FontFace& FaceOrWestern(const CodePage& page) {
  const FontFace* face = FaceOf(page.Number());
  return face != nullptr ? *face : *FaceOf(kDefaultCodePage);
}

// 8 pt at 96 DPI is an em of 10.67 pixels, which the faces Windows draws
// the double-byte pages in fill with each full-width character.
constexpr int kDoubleByteWidth = 11;

// Where no face of the page is known: a double-byte character one em
// square, a letter outside ASCII as wide as the Western face's widest, so
// that the estimate errs wide on all but the widest full-width ones.
int EstimatedWidth(const std::string& bytes, size_t at, size_t end) {
  if (end - at > 1) return kDoubleByteWidth;
  unsigned char byte = static_cast<unsigned char>(bytes[at]);
  const FontFace& western = *FaceOf(kDefaultCodePage);
  if (byte < 0x80) return western.widths[byte];
  int widest = 0;
  for (int b = 0x20; b < 256; ++b) widest = western.widths[b] > widest ? western.widths[b] : widest;
  return widest;
}

// Windows' dialog base unit across: half the average width of the 52 ASCII
// letters, rounded up; a dialog unit across is a quarter of it.
int BaseUnitAcross(const FontFace& face) {
  int sum = 0;
  for (int c = 'A'; c <= 'Z'; ++c) sum += face.widths[c] + face.widths[c + ('a' - 'A')];
  return (sum / 26 + 1) / 2;
}

}  // namespace

bool FaceKnown(const CodePage& page) { return FaceOf(page.Number()) != nullptr; }

int TextWidth(const CodePage& page, const std::string& bytes) {
  const FontFace* face = FaceOf(page.Number());
  int width = 0;
  for (size_t at = 0; at < bytes.size(); at = page.NextCharacter(bytes, at)) {
    // Controls take '&' as the mark of the next letter's shortcut, drawn as
    // an underline; "&&" shows one '&'.
    if (bytes[at] == '&' && at + 1 < bytes.size()) ++at;
    size_t end = page.NextCharacter(bytes, at);
    unsigned char byte = static_cast<unsigned char>(bytes[at]);
    width += face != nullptr && end - at == 1 ? face->widths[byte] : EstimatedWidth(bytes, at, end);
  }
  return width;
}

int ControlRoom(const CodePage& page, texts::Id id) {
  const DialogControl* control = ControlOf(id);
  if (control == nullptr) return 0;
  // As MulDiv(width, base, 4) does it: rounded to the nearest pixel.
  int pixels = (control->width * BaseUnitAcross(FaceOrWestern(page)) + 2) / 4;
  return control->lines * pixels - control->margin;
}

std::string WidthWarning(const CodePage& page, texts::Id id, const std::string& bytes) {
  const DialogControl* control = ControlOf(id);
  if (control == nullptr) return std::string();
  int width = TextWidth(page, bytes), room = ControlRoom(page, id);
  if (width <= room) return std::string();
  return std::string("is ") + (FaceKnown(page) ? "" : "about ") + std::to_string(width) +
         " pixels wide in MS Sans Serif 8 pt (code page " + std::to_string(page.Number()) + "), and " +
         control->name + " has room for " + std::to_string(room) + ": the installer shows it cut short";
}

}  // namespace vpack
