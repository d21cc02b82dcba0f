#pragma once
// The manifest's text as the installer will read it: every item name and
// text setting converted from UTF-8 to the manifest's code page, each length
// counted in the converted bytes, which is what the installer's fixed fields
// hold; the translated texts, which stay UTF-8, checked.
#include <string>
#include <vector>

#include "vpack/manifest/Manifest.h"

namespace vpack {

// Converts in place; returns one message per name or setting that cannot
// be converted or does not fit, each naming its entry. What fails stays as
// read.
std::vector<std::string> EncodeText(Manifest& manifest);

}  // namespace vpack
