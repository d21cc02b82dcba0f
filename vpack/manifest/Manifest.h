#pragma once
// The packing manifest as plain data: what to write, checked but not yet
// read from disk. docs/manifest.md describes the format.
#include <stdint.h>

#include <optional>
#include <string>
#include <vector>

#include "packager/PayloadBuilder.h"
#include "vpack/manifest/Branding.h"
#include "vpack/base/CodePage.h"
#include "vpack/manifest/ManifestValues.h"
#include "vpack/rules/Settings.h"
#include "vpack/cli/Signing.h"
#include "vpack/rules/StorageRules.h"

namespace vpack {

struct SettingValue {
  const SettingInfo* info;
  uint32_t number = 0;  // number and flag settings
  std::string text;     // text settings: UTF-8 as read, then in the manifest's code page
  std::string entry;    // the manifest and setting, for messages
};

struct FileSpec {
  // Item name with backslashes: the path below the installation folder;
  // UTF-8 as read, then in the manifest's code page (entry keeps it readable).
  std::string name;
  std::string source;  // resolved against the manifest's folder
  Store store = Store::kEngine;
  std::optional<packager::ListKind> list;
  uint64_t size = 0;   // of the source when the manifest was read
  std::string entry;   // the manifest entry it came from, for messages
};

struct Manifest {
  std::string path;
  std::string stub;                    // resolved; empty when the manifest names none
  std::vector<SettingValue> settings;  // in KnownSettings() order
  std::vector<FileSpec> files;         // sorted by item name
  std::vector<std::string> inputs;     // every manifest read, the including one first
  // What would leave the installer short of what the manifest asks, but not
  // broken; --strict makes each an error.
  std::vector<std::string> warnings;
  Branding branding;                   // the publisher's icon and version; see Branding.h
  SigningCommand signing;              // empty: the installer is not signed
  unsigned codePage = kDefaultCodePage;  // of every name and text setting in the payload
  size_t litterLeftOut = 0;            // version-control and desktop files the folders did not take
};

// Longest item name the installer's directory holds, and longest list entry,
// in bytes of the code page.
constexpr size_t kMaxItemName = payload::kMaxNameLength;
constexpr size_t kMaxListName = payload::kListNameSize - 1;

// Throws Error with a one-line message that starts with the manifest's path
// and names the entry; a manifest that cannot give a working installer is
// refused here.
// overrides (--var NAME=VALUE) win over every manifest's [vars].
Manifest LoadManifest(const std::string& path, const Variables& overrides = Variables());

const char* ListLabel(packager::ListKind kind);

}  // namespace vpack
