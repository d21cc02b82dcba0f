#pragma once
// The installer's words in the user's language, read from the payload once,
// before anything is shown.
#include "payload/PayloadReader.h"

namespace installer {

// Of the languages the payload carries, the one asked for by tag (/LANG=;
// empty for none), else the user's interface language, else one standing
// for it, else the default becomes the one shown in place of the English.
// A text that cannot be read as stored (damaged, too long, not UTF-8,
// empty) is passed over, so that no installation fails for want of a word.
// The tag of the language the texts were taken from; "" for the built-in
// English.
const char* ChosenLanguage();

void LoadTranslations(payload::PayloadReader& reader, const wchar_t* asked);

}  // namespace installer
