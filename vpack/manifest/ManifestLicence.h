#pragma once
// The licence a manifest has users accept: `licence = "EULA.txt"` for every
// language, or a table of the languages' tags, each a file of its own.
#include <toml++/toml.h>

#include "vpack/manifest/Manifest.h"
#include "vpack/manifest/ManifestValues.h"

namespace vpack {

void ParseLicence(const ManifestContext& context, const toml::node& node, Manifest& manifest);
// Once the languages are known: each file read, checked and stored in the
// form the installer shows; the default language's becomes the one for
// every other language.
void ReadLicences(Manifest& manifest);

}  // namespace vpack
