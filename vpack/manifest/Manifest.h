#pragma once
// The packing manifest as plain data: what to write, checked but not yet
// read from disk. docs/manifest.md describes the format. Reading one is
// three steps: its text into entries, the disk behind the entries (sources,
// folders, sizes), then the checks; only the second needs the project's
// files, so the first and last can be tried on text alone.
#include <stdint.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "packager/PayloadBuilder.h"
#include "payload/Texts.h"
#include "vpack/manifest/Branding.h"
#include "vpack/base/CodePage.h"
#include "vpack/manifest/ManifestValues.h"
#include "vpack/rules/Settings.h"
#include "vpack/manifest/SigningCommand.h"
#include "vpack/rules/StorageRules.h"

namespace vpack {

struct SettingValue {
  const SettingInfo* info;
  uint32_t number = 0;  // number and flag settings
  std::string text;     // text settings: UTF-8, as read
  std::string stored;   // text settings: in the manifest's code page, as the installer holds it
  std::string entry;    // the manifest and setting, for messages
};

struct FileSpec {
  // Item name with backslashes: the path below the installation folder;
  // UTF-8 as read, then in the manifest's code page (entry keeps it readable).
  std::string name;
  std::string source;  // resolved against the manifest's folder
  Store store = Store::kEngine;
  std::optional<packager::ListKind> list;
  uint64_t size = 0;   // of the source when the sources were read
  // Stored in the engine format and already in it (the tag, and it decodes):
  // stored as it is, as wrapping it again would hand the engine its own
  // format as data.
  bool alreadyEncoded = false;
  std::string entry;   // the manifest entry it came from, for messages
};

// A [[folder]] entry: every file below a folder, picked by patterns, placed
// below a target folder of the installation.
struct FolderSpec {
  std::string source;                // resolved
  std::string target;                // item-name prefix with backslashes; empty for the top
  std::vector<std::string> include;  // empty: every file
  std::vector<std::string> exclude;
  bool listGiven = false;            // else each file gets the list its name calls for
  std::optional<packager::ListKind> list;
  std::optional<Store> store;        // else each file gets the store its name calls for
  bool takeLitter = false;           // version-control and desktop files too
  std::string entry;                 // how messages name the entry
  size_t filesBefore = 0;            // [[file]] entries read before it, which its files follow
};

// A text of the installer in the publisher's words, in place of its English.
struct TextValue {
  texts::Id id;
  std::string text;   // UTF-8, as read and as stored
  // The key's place in the manifest (or translation) and the key, for
  // messages; one about a translation's text ends in its takenBy.
  std::string entry;
  bool fromTranslation = false;  // else from the manifest's own [texts]
};

// The translation a manifest takes its texts from before its own [texts]:
// one of the kit's by name, or a file of the publisher's by path.
struct TranslationSpec {
  std::string name;   // as written; empty for none
  std::string path;   // resolved, when written as a path to a .toml file
  std::string entry;  // the manifest and its "from", for messages
  // Ends each message about one of the translation's own lines: the
  // manifest's line that takes it.
  std::string takenBy;
};

// The installer's texts in one language: its translation's (the kit's or a
// file's) under the manifest's own [texts.TAG] keys.
struct LanguageTexts {
  std::string tag;              // one of payload::kLanguages'; a file's, once read
  uint16_t id = 0;              // its Windows language number
  TranslationSpec translation;  // empty name: the manifest's own keys alone
  // The manifest's own keys, the translation's under them once the sources
  // are read, in the table's order once finished.
  std::vector<TextValue> texts;
  std::string entry;            // where the manifest names it, for messages
};

// A licence for users to accept, in one language ("*": every language the
// others do not cover); stored, once read, as the installer keeps it
// (payload/Licence.h).
struct LicenceSpec {
  std::string tag;
  std::string path;
  std::string entry;
  packager::Bytes stored;
};

struct Manifest {
  std::string path;
  std::string stub;                    // resolved; empty when the manifest names none
  std::vector<SettingValue> settings;  // in KnownSettings() order
  std::vector<FileSpec> files;         // sorted by item name once finished
  std::vector<FolderSpec> folders;     // until ReadSources walks them into files
  std::vector<std::string> inputs;     // every manifest read, the including one first
  // What would leave the installer short of what the manifest asks, but not
  // broken; --strict makes each an error.
  std::vector<std::string> warnings;
  Branding branding;                   // the publisher's icon and version; see Branding.h
  SigningCommand signing;              // empty: the installer is not signed
  // The languages the installer speaks beside its English, in the
  // manifest's order; their translations are read with the sources.
  std::vector<LanguageTexts> languages;
  // default-language: the one shown where the user's is not carried.
  std::string defaultLanguage = "en";
  std::string defaultLanguageEntry;  // where the manifest gives it, for messages
  // [texts] log = "translated": the installer's log in its shown words, not
  // English.
  bool logAsShown = false;
  std::vector<LicenceSpec> licences;   // none: no licence to accept
  unsigned codePage = kDefaultCodePage;  // of every name and text setting in the payload
  size_t litterLeftOut = 0;            // version-control and desktop files the folders did not take
  std::string output;                  // the installer pack writes, left out of every folder
  std::set<std::string> variableNames;  // declared in [vars] or used as ${NAME} by any manifest read
};

// Longest item name, listed or not, in bytes of the code page.
constexpr size_t kMaxItemName = payload::kMaxItemNameLength;

// Each step throws Error with a one-line message that starts with the
// manifest's path and the entry's line and column ("m.toml:12:1: "; the path
// alone for what has no line, such as a setting the manifest lacks) and
// names the entry. overrides (--var NAME=VALUE) win over every manifest's
// [vars].
//
// The manifest's text into its entries; path places it, for messages and as
// the folder relative paths start from. Only the manifests it includes are
// read, none of its sources: file sizes are 0 and folders unwalked.
Manifest ParseManifest(const std::string& path, const std::string& text, const Variables& overrides = Variables());
// The disk: each file's source is a regular file and has its size, each
// folder adds the files it takes (ManifestFolder.h), the translation its
// texts (ManifestTexts.h).
void ReadSources(Manifest& manifest);
// Names, text settings and texts into the code page, settings and files in their
// fixed order, then a manifest that cannot give a working installer is
// refused (ManifestChecks.h).
void FinishManifest(Manifest& manifest);
// The three steps on the manifest file at path; output, when given, is the
// installer being written, which no folder takes.
Manifest LoadManifest(const std::string& path, const Variables& overrides = Variables(),
                      const std::string& output = std::string());

const char* ListLabel(packager::ListKind kind);

}  // namespace vpack
