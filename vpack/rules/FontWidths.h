#pragma once
// MS Sans Serif 8 pt at 96 DPI, the installer's dialog font, as wide as
// Windows draws it: from Wine's metric-compatible bitmap faces, one a code
// page, written by scripts/make-font-widths.py so that builds need no font.
#include <stdint.h>

namespace vpack {

struct FontFace {
  unsigned codePage;
  uint8_t widths[256];  // in pixels, by byte
};

extern const FontFace kFontFaces[];
extern const int kFontFaceCount;

}  // namespace vpack
