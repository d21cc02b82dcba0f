#pragma once
// The packing manifest as plain data: what to write, checked but not yet
// read from disk. The format is described at the top of Manifest.cpp.
#include <stdint.h>

#include <optional>
#include <string>
#include <vector>

#include "packager/PayloadBuilder.h"
#include "vpack/Branding.h"
#include "vpack/Settings.h"

namespace vpack {

struct SettingValue {
  const SettingInfo* info;
  uint32_t number = 0;  // number and flag settings
  std::string text;     // text settings
};

enum class Store { kZlib, kRaw, kEngine };

struct FileSpec {
  std::string name;    // item name: the path below the installation folder
  std::string source;  // resolved against the manifest's folder
  Store store = Store::kZlib;
  std::optional<packager::ListKind> list;
};

struct Manifest {
  std::string path;
  std::string stub;  // resolved; empty when the manifest names none
  std::vector<SettingValue> settings;  // in KnownSettings() order
  std::vector<FileSpec> files;         // in manifest order
  Branding branding;                   // see Branding.cpp
};

// Longest item name the installer's directory holds, and longest list entry.
constexpr size_t kMaxItemName = 259;
constexpr size_t kMaxListName = 398;

// Throws Error with a one-line message that starts with the manifest's path.
Manifest LoadManifest(const std::string& path);

const char* StoreLabel(Store store);
const char* ListLabel(packager::ListKind kind);

}  // namespace vpack
