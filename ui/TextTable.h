#pragma once
// The installer's words as it shows them: a text the installer carries in
// the publisher's language, else the English default.
#include <windows.h>

#include "payload/Texts.h"

namespace ui {

// The text in UTF-16, into out (size characters, always terminated): the
// publisher's where given, else the English; forLog, the English unless the
// publisher asked for the log as shown.
void TextOf(texts::Id id, wchar_t* out, int size, bool forLog = false);

// Shows text (copied) in place of the English from now on; left English
// where no memory can be had for it.
void UseText(texts::Id id, const wchar_t* text);

// From now on every text is the English: the installer's own words where
// the publisher's cannot be trusted to show.
void UseEnglish();

// From now on the log takes the texts as shown: the publisher wants it in
// the installer's language.
void LogAsShown();

// A text in the system's code page in UTF-16, into out (size characters), cut
// at a whole character where it is longer; always terminated.
void Widen(const char* ansi, wchar_t* out, int size);

}  // namespace ui
