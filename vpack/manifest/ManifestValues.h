#pragma once
// Reading one manifest file: where it is, its variables, and the typed
// values of its TOML, each failure a one-line Error that points at the
// manifest's line.
#include <stdint.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <toml++/toml.h>

namespace vpack {

using Variables = std::map<std::string, std::string>;

constexpr char kEnvironmentPrefix[] = "env:";

struct ManifestContext {
  std::string path;
  std::filesystem::path folder;
  Variables variables;
  // Ends every message about this file: for a translation, the manifest's
  // line that takes it, as the publisher may not know which file was read.
  std::string takenBy;

  // Where a node or key of this file is, as every message points at it:
  // "path:line:column".
  std::string Place(const toml::source_region& at) const;
  // An entry as messages name it: its place, then what it is.
  std::string Entry(const toml::source_region& at, const std::string& what) const;
  std::string Entry(const toml::node& at, const std::string& what) const { return Entry(at.source(), what); }
  std::string Entry(const toml::key& at, const std::string& what) const { return Entry(at.source(), what); }
  // The one form of every message about this file: the place, the message,
  // takenBy.
  [[noreturn]] void Fail(const toml::source_region& at, const std::string& message) const;
  [[noreturn]] void Fail(const toml::node& at, const std::string& message) const { Fail(at.source(), message); }
  [[noreturn]] void Fail(const toml::key& at, const std::string& message) const { Fail(at.source(), message); }
  // The file as a whole, which has no line to point at: it cannot be read,
  // or is not UTF-8, or lacks a table.
  [[noreturn]] void FailFile(const std::string& message) const;
  // A variable's value: the manifests' or the command line's, or with
  // kEnvironmentPrefix the environment's; at is the string that uses it.
  std::string Value(const toml::node& at, const std::string& what, const std::string& name) const;
  // A string node with "${name}" replaced by the variable's value; an
  // unknown name is an error.
  std::string Expand(const std::string& what, const toml::node& node) const;
  // A path from the manifest: a string, variables expanded, relative to the
  // manifest's folder.
  std::string PathOf(const std::string& what, const toml::node& node) const;
};

// Refuses a folder or anything else that is not a file before reading it.
// A path written in a manifest: '\\' separates folders as '/' does, on
// every system, so that one manifest serves vpack and vpack.exe alike (no
// file of a project the installer writes can hold a backslash in its name).
std::filesystem::path ManifestPathOf(std::string text);
std::string ReadManifestFile(const ManifestContext& context);
toml::table ParseToml(const ManifestContext& context, const std::string& text);

const char* TypeName(const toml::node& node);
std::string ExpectString(const ManifestContext& context, const std::string& what, const toml::node& node);
uint32_t ExpectInteger(const ManifestContext& context, const std::string& what, const toml::node& node, int64_t max);
// A string or an array of strings; as nodes, so that a message about one
// points at it.
std::vector<const toml::node*> ExpectStringNodes(const ManifestContext& context, const std::string& what,
                                                 const toml::node& node);
std::vector<std::string> ExpectStrings(const ManifestContext& context, const std::string& what,
                                       const toml::node& node);
// Refuses any key not in allowed, with the one it most likely stands for: a
// misspelt key would otherwise only show up when the installer runs.
void ExpectKeys(const ManifestContext& context, const std::string& what, const toml::table& table,
                const std::vector<std::string>& allowed);

}  // namespace vpack
