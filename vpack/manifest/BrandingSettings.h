#pragma once
// The uninstall entry says who and what: where the manifest has branding and
// the project type installs, the branding's product version and company name
// are written as the settings DisplayVersion and Publisher, which the
// installer puts into the entry, unless [settings] gives them itself.
#include "vpack/manifest/Manifest.h"

namespace vpack {

// Adds them to manifest.settings, their text still UTF-8, before the texts
// are converted to the code page; each names its branding key, so that a
// company name the code page cannot hold, or that does not fit, is reported
// there.
void AddBrandingSettings(Manifest& manifest);

}  // namespace vpack
