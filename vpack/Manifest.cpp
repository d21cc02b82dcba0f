// The packing manifest, a TOML file:
//
//   stub = "path/to/VandrelStub.exe"   # optional; --stub on the command line wins
//
//   [settings]                         # known settings only, see Settings.cpp
//   ProjectType = 2                    # 0 .. 4294967295, written as 4 bytes
//   CheckDx8 = true                    # flags: true/false or 0 .. 255, 1 byte
//   InstallPath = 'C:\Apps\Tour'       # text: at most 258 bytes, written as 259
//
//   [[file]]                           # zero or more, written in this order
//   name = 'channels\LoaderUnit.dll'   # item name: path below the install folder
//   source = "runtime/LoaderUnit.dll"  # relative to the manifest's folder
//   store = "zlib"                     # "zlib" (default), "raw" or "engine"
//   list = "channels"                  # optional: "channels", "channel-modules"
//                                      # or "project"
//
//   [branding]                         # optional: icon and version
//                                      # information, see Branding.cpp
//
// "raw" stores the source as it is, "zlib" deflates it and appends the
// unpacked size, "engine" encodes a plain source into the engine format.
// Anything vpack does not know is an error rather than being ignored: a
// misspelt setting would otherwise only show up when the installer runs.
#include "vpack/Manifest.h"

#include <errno.h>
#include <string.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <toml++/toml.h>

#include "vpack/Error.h"
#include "vpack/StorageRules.h"

namespace vpack {
namespace {

// Where the parser is, so that every message names the manifest.
struct Context {
  std::string path;
  std::filesystem::path folder;

  [[noreturn]] void Fail(const std::string& message) const { throw Error(path + ": " + message); }
};

const char* TypeName(const toml::node& node) {
  switch (node.type()) {
    case toml::node_type::table: return "a table";
    case toml::node_type::array: return "an array";
    case toml::node_type::string: return "a string";
    case toml::node_type::integer: return "an integer";
    case toml::node_type::floating_point: return "a float";
    case toml::node_type::boolean: return "a boolean";
    default: return "a date or time";
  }
}

toml::table ParseToml(const Context& context) {
  std::ifstream in(context.path, std::ios::binary);
  if (!in) context.Fail(std::string("cannot read: ") + strerror(errno));
  std::stringstream text;
  text << in.rdbuf();
  try {
    return toml::parse(text.str(), context.path);
  } catch (const toml::parse_error& e) {
    const toml::source_position& at = e.source().begin;
    context.Fail("bad TOML at line " + std::to_string(at.line) + ", column " + std::to_string(at.column) + ": " +
                 std::string(e.description()));
  }
}

std::string ExpectString(const Context& context, const std::string& what, const toml::node& node) {
  const toml::value<std::string>* value = node.as_string();
  if (value == nullptr) context.Fail(what + " must be a string, not " + TypeName(node));
  const std::string& text = value->get();
  if (text.find('\0') != std::string::npos) context.Fail(what + " contains a NUL character");
  return text;
}

uint32_t ExpectInteger(const Context& context, const std::string& what, const toml::node& node, int64_t max) {
  const toml::value<int64_t>* value = node.as_integer();
  if (value == nullptr) context.Fail(what + " must be an integer, not " + TypeName(node));
  int64_t number = value->get();
  if (number < 0 || number > max) {
    context.Fail(what + " is " + std::to_string(number) + "; it must be 0 .. " + std::to_string(max));
  }
  return static_cast<uint32_t>(number);
}

SettingValue ParseSetting(const Context& context, const SettingInfo& info, const toml::node& node) {
  std::string what = "setting " + Quoted(info.name);
  SettingValue setting{&info, 0, std::string()};
  switch (info.kind) {
    case SettingKind::kNumber:
      setting.number = ExpectInteger(context, what, node, 0xFFFFFFFFll);
      break;
    case SettingKind::kFlag:
      if (const toml::value<bool>* flag = node.as_boolean()) {
        setting.number = flag->get() ? 1 : 0;
      } else if (node.is_integer()) {
        setting.number = ExpectInteger(context, what, node, 255);
      } else {
        context.Fail(what + " must be a boolean or an integer, not " + TypeName(node));
      }
      break;
    case SettingKind::kText:
      setting.text = ExpectString(context, what, node);
      if (setting.text.size() > kMaxSettingText) {
        context.Fail(what + " is " + std::to_string(setting.text.size()) + " characters long; at most " +
                     std::to_string(kMaxSettingText) + " fit");
      }
      break;
  }
  return setting;
}

std::vector<SettingValue> ParseSettings(const Context& context, const toml::node& node) {
  const toml::table* table = node.as_table();
  if (table == nullptr) context.Fail(std::string("settings must be a table, not ") + TypeName(node));
  for (auto&& [key, value] : *table) {
    if (FindSetting(std::string(key.str())) == nullptr) {
      context.Fail("unknown setting " + Quoted(std::string(key.str())));
    }
  }
  // Written in the fixed order of the known settings, not the manifest's, so
  // that reordering the manifest does not change the installer.
  std::vector<SettingValue> settings;
  for (const SettingInfo& info : KnownSettings()) {
    if (const toml::node* value = table->get(info.name)) settings.push_back(ParseSetting(context, info, *value));
  }
  return settings;
}

Store ParseStore(const Context& context, const std::string& what, const toml::node& node) {
  std::string label = ExpectString(context, what + " store", node);
  for (Store store : {Store::kZlib, Store::kRaw, Store::kEngine}) {
    if (label == StoreLabel(store)) return store;
  }
  context.Fail(what + " has unknown store " + Quoted(label) + " (zlib, raw or engine)");
}

packager::ListKind ParseList(const Context& context, const std::string& what, const toml::node& node) {
  std::string label = ExpectString(context, what + " list", node);
  using packager::ListKind;
  for (ListKind kind : {ListKind::kChannels, ListKind::kChannelModules, ListKind::kProjectFiles}) {
    if (label == ListLabel(kind)) return kind;
  }
  context.Fail(what + " has unknown list " + Quoted(label) + " (channels, channel-modules or project)");
}

void CheckItemName(const Context& context, const std::string& what, const FileSpec& file) {
  if (file.name.empty()) context.Fail(what + " has an empty name");
  // A listed name is also written as a list entry, whose limit is reported
  // first because it names the list the file was put into.
  if (file.list && file.name.size() > kMaxListName) {
    context.Fail(what + " is " + std::to_string(file.name.size()) + " characters long; a list entry holds at most " +
                 std::to_string(kMaxListName));
  }
  if (file.name.size() > kMaxItemName) {
    context.Fail(what + " is " + std::to_string(file.name.size()) + " characters long; an item name holds at most " +
                 std::to_string(kMaxItemName));
  }
}

std::string Resolve(const Context& context, const std::string& path) {
  std::filesystem::path given(path);
  return given.is_relative() ? (context.folder / given).string() : path;
}

FileSpec ParseFile(const Context& context, const toml::table& table, size_t index) {
  std::string what = "file #" + std::to_string(index + 1);
  for (auto&& [key, value] : table) {
    if (key != "name" && key != "source" && key != "store" && key != "list") {
      context.Fail(what + " has unknown key " + Quoted(std::string(key.str())));
    }
  }
  FileSpec file;
  if (!table.contains("name")) context.Fail(what + " has no name");
  file.name = ExpectString(context, what + " name", *table.get("name"));
  what = "file " + Quoted(file.name);
  if (!table.contains("source")) context.Fail(what + " has no source");
  file.source = Resolve(context, ExpectString(context, what + " source", *table.get("source")));
  if (const toml::node* store = table.get("store")) file.store = ParseStore(context, what, *store);
  if (const toml::node* list = table.get("list")) file.list = ParseList(context, what, *list);
  CheckItemName(context, what, file);
  return file;
}

std::vector<FileSpec> ParseFiles(const Context& context, const toml::node& node) {
  const toml::array* array = node.as_array();
  if (array == nullptr) context.Fail("file must be written as [[file]] tables, not " + std::string(TypeName(node)));
  std::vector<FileSpec> files;
  for (size_t i = 0; i < array->size(); ++i) {
    const toml::table* table = (*array)[i].as_table();
    if (table == nullptr) context.Fail("file #" + std::to_string(i + 1) + " must be a table");
    files.push_back(ParseFile(context, *table, i));
  }
  return files;
}

// Two items of the same name would leave the installer reading the first one
// only; settings and files share the APPDATA type, so they collide too.
void CheckDuplicates(const Context& context, const Manifest& manifest) {
  std::vector<std::string> seen;
  for (const SettingValue& setting : manifest.settings) seen.push_back(setting.info->name);
  for (const FileSpec& file : manifest.files) {
    for (const std::string& earlier : seen) {
      if (SameItemName(file.name, earlier)) {
        context.Fail("duplicate item name " + Quoted(file.name) + " (same as " + Quoted(earlier) + ")");
      }
    }
    seen.push_back(file.name);
  }
}

}  // namespace

Manifest LoadManifest(const std::string& path) {
  Context context{path, std::filesystem::path(path).parent_path()};
  toml::table root = ParseToml(context);
  Manifest manifest;
  manifest.path = path;
  for (auto&& [key, node] : root) {
    if (key == "stub") {
      manifest.stub = Resolve(context, ExpectString(context, "stub", node));
    } else if (key == "settings") {
      manifest.settings = ParseSettings(context, node);
    } else if (key == "file") {
      manifest.files = ParseFiles(context, node);
    } else if (key == "branding") {
      manifest.branding = ReadBranding(node, path, context.folder);
    } else {
      context.Fail("unknown key " + Quoted(std::string(key.str())) + " (stub, [settings], [[file]] or [branding])");
    }
  }
  CheckDuplicates(context, manifest);
  return manifest;
}

const char* StoreLabel(Store store) {
  switch (store) {
    case Store::kZlib: return "zlib";
    case Store::kRaw: return "raw";
    default: return "engine";
  }
}

const char* ListLabel(packager::ListKind kind) {
  switch (kind) {
    case packager::ListKind::kChannels: return "channels";
    case packager::ListKind::kChannelModules: return "channel-modules";
    default: return "project";
  }
}

}  // namespace vpack
