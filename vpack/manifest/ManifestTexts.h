#pragma once
// The installer's texts in the publishers' languages: `texts` in a manifest,
// a translation's name (one of the kit's, or a .toml file's path), a list of
// them, or a table whose "from" names them, whose keys are words of the one
// it names (of English where it names none), and whose [texts.TAG] tables
// are a language's own words. A translation gives its texts first and the
// manifest's own win; a key given by neither keeps its English.
// docs/manifest.md describes the keys.
#include "vpack/manifest/Manifest.h"
#include "vpack/manifest/ManifestValues.h"

namespace vpack {

// The key in [texts] that names the translations; no text has it as its key.
constexpr char kTranslationKey[] = "from";
// The key in [texts] that says which words the installer's log takes:
// "english" (the default, for administrators) or "translated".
constexpr char kLogKey[] = "log";

// The manifest's `texts` into manifest.languages; an including manifest's
// keys replace those of the manifests it includes.
void ParseTexts(const ManifestContext& context, const toml::node& node, Manifest& manifest);

// `default-language`: a tag, checked against the languages once they are read.
void ParseDefaultLanguage(const ManifestContext& context, const toml::node& node, Manifest& manifest);

// Each language's translation file, read: its texts go under the manifest's
// own. Throws Error naming the manifest's entry when there is no such
// translation, a language is named twice or the default is not carried, or
// the file's entry when it is broken (and then the manifest's line that
// takes it).
void ReadTranslation(Manifest& manifest);

}  // namespace vpack
