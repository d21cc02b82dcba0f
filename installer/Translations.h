#pragma once
// The publisher's words for the installer's texts, read from the payload
// once, before anything is shown.
#include "payload/PayloadReader.h"

namespace installer {

// Each text the payload carries in the installer's code page becomes the
// one shown in place of the English; one that cannot be read as stored
// (damaged, too long, not of the code page, empty) is passed over, so that
// no installation fails for want of a word.
void LoadTranslations(payload::PayloadReader& reader);

}  // namespace installer
