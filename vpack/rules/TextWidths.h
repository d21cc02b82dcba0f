#pragma once
// Whether a translated word fits the dialog control that shows it. Windows
// cuts a button's or a group box's text at its edge and hides a static's
// second line, so a long translation installs fine but reads cut short:
// pack and verify warn of it, in the same words.
#include <string>

#include "payload/Texts.h"
#include "vpack/base/CodePage.h"

namespace vpack {

// How wide the text, as the item holds it in the page, is drawn in the
// dialogs' font, in pixels; estimated where no face of the page is known
// (see FaceKnown).
int TextWidth(const CodePage& page, const std::string& bytes);

// Whether TextWidth reads the page's own face rather than estimating.
bool FaceKnown(const CodePage& page);

// The pixels the dialog control showing id's text has for it, its margins
// taken off; 0 when no dialog control shows that text.
int ControlRoom(const CodePage& page, texts::Id id);

// The warning for a text that does not fit its control, without the place
// it starts with (the manifest's entry, the installer's item); empty when
// it fits or is no dialog control's.
std::string WidthWarning(const CodePage& page, texts::Id id, const std::string& bytes);

}  // namespace vpack
