#pragma once
// The installer's texts in the publisher's language: `texts` in a manifest,
// either a translation's name (one of the kit's, or a .toml file's path) or
// a table of key = text whose "from" names one. The translation gives its
// texts first and the table's own win; a key given by neither keeps its
// English. docs/manifest.md describes the keys.
#include "vpack/manifest/Manifest.h"
#include "vpack/manifest/ManifestValues.h"

namespace vpack {

// The key in [texts] that names a translation; no text has it as its key.
constexpr char kTranslationKey[] = "from";
// The key in [texts] that says which words the installer's log takes:
// "english" (the default, for administrators) or "translated".
constexpr char kLogKey[] = "log";

// The manifest's `texts` into manifest.translation and manifest.texts; an
// including manifest's keys replace those of the manifests it includes.
void ParseTexts(const ManifestContext& context, const toml::node& node, Manifest& manifest);

// The translation's file, read: its texts go under the manifest's own.
// Throws Error naming the manifest's entry when there is no such
// translation, or the file's entry when it is broken (and then the
// manifest's line that takes it).
void ReadTranslation(Manifest& manifest);

}  // namespace vpack
