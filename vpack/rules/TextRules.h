#pragma once
// What a translated text must be for the installer to show it in place of
// its English: pack applies these to the manifest's texts, verify to the
// bytes an installer carries, in the same words.
#include <string>

#include "payload/Texts.h"
#include "vpack/base/CodePage.h"

namespace vpack {

// Why the UTF-8 text cannot stand for the English of id: empty, a control
// character other than a line break or a tab, or a placeholder of the
// English lost or one it lacks added. Empty when it can.
std::string TranslationProblem(texts::Id id, const std::string& utf8);

// The text in the code page, as the item holds it; problem says why it
// cannot be (a character the page lacks, named; longer than the item may
// be), else is left empty.
std::string TextInCodePage(const CodePage& page, const std::string& utf8, std::string& problem);

// The item's bytes as the installer will show them, in UTF-8; problem says
// why it will not (too long, bytes the page does not define), else is
// left empty.
std::string ShownText(const CodePage& page, const std::string& bytes, std::string& problem);

}  // namespace vpack
