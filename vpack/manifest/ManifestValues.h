#pragma once
// Reading one manifest file: where it is, its variables, and the typed
// values of its TOML, each failure a one-line Error naming the manifest.
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

  [[noreturn]] void Fail(const std::string& message) const;
  // A variable's value: the manifests' or the command line's, or with
  // kEnvironmentPrefix the environment's.
  std::string Value(const std::string& what, const std::string& name) const;
  // "${name}" replaced by the variable's value; an unknown name is an error.
  std::string Expand(const std::string& what, const std::string& text) const;
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
// A string or an array of strings.
std::vector<std::string> ExpectStrings(const ManifestContext& context, const std::string& what,
                                       const toml::node& node);
// Refuses any key not in allowed: a misspelt key would otherwise only show
// up when the installer runs.
void ExpectKeys(const ManifestContext& context, const std::string& what, const toml::table& table,
                const std::vector<std::string>& allowed);

}  // namespace vpack
