#include "vpack/manifest/ManifestValues.h"

#include <errno.h>
#include <string.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "vpack/base/Error.h"
#include "vpack/base/Processes.h"
#include "vpack/base/SystemPath.h"

namespace vpack {

void ManifestContext::Fail(const std::string& message) const { throw Error(path + ": " + message); }

// "env:NAME" reads the environment, for what a build pipeline passes in
// (a version, a key's folder); an unset one is an error like an unknown one.
std::string ManifestContext::Value(const std::string& what, const std::string& name) const {
  if (name.rfind(kEnvironmentPrefix, 0) == 0) {
    std::string variable = name.substr(strlen(kEnvironmentPrefix));
    std::optional<std::string> value = EnvironmentVariable(variable);
    if (!value) Fail(what + " uses environment variable " + Quoted(variable) + ", which is not set");
    return *value;
  }
  auto found = variables.find(name);
  if (found == variables.end()) Fail(what + " uses unknown variable " + Quoted(name));
  return found->second;
}

std::string ManifestContext::Expand(const std::string& what, const std::string& text) const {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    size_t open = text.find("${", at);
    if (open == std::string::npos) break;
    size_t close = text.find('}', open);
    if (close == std::string::npos) Fail(what + " has \"${\" without \"}\"");
    std::string name = text.substr(open + 2, close - open - 2);
    out += text.substr(at, open - at) + Value(what, name);
    at = close + 1;
  }
  return out + text.substr(std::min(at, text.size()));
}

std::filesystem::path ManifestPathOf(std::string text) {
  std::replace(text.begin(), text.end(), '\\', '/');
  return vpack::PathOf(text);
}

std::string ManifestContext::PathOf(const std::string& what, const toml::node& node) const {
  std::filesystem::path given = ManifestPathOf(Expand(what, ExpectString(*this, what, node)));
  return TextOf(given.is_relative() ? (folder / given).lexically_normal() : given);
}

std::string ReadManifestFile(const ManifestContext& context) {
  std::error_code error;
  std::filesystem::path path = PathOf(context.path);
  if (std::filesystem::is_directory(path, error)) context.Fail("is a folder, not a manifest");
  if (!std::filesystem::exists(path, error)) context.Fail("cannot read: no such file");
  if (!std::filesystem::is_regular_file(path, error)) context.Fail("is not a regular file");
  std::ifstream in(path, std::ios::binary);
  if (!in) context.Fail(std::string("cannot read: ") + strerror(errno));
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

toml::table ParseToml(const ManifestContext& context, const std::string& text) {
  // Windows' editors save "Unicode" as UTF-16: a byte-order mark, or a NUL
  // in every other byte of ASCII text.
  bool marked = text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0;
  if (marked || (text.size() >= 2 && (text[0] == '\0' || text[1] == '\0'))) {
    context.Fail("is UTF-16 text; save it as UTF-8");
  }
  try {
    return toml::parse(text, context.path);
  } catch (const toml::parse_error& e) {
    const toml::source_position& at = e.source().begin;
    context.Fail("bad TOML at line " + std::to_string(at.line) + ", column " + std::to_string(at.column) + ": " +
                 std::string(e.description()));
  }
}

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

std::string ExpectString(const ManifestContext& context, const std::string& what, const toml::node& node) {
  const toml::value<std::string>* value = node.as_string();
  if (value == nullptr) context.Fail(what + " must be a string, not " + TypeName(node));
  const std::string& text = value->get();
  if (text.find('\0') != std::string::npos) context.Fail(what + " contains a NUL character");
  return text;
}

uint32_t ExpectInteger(const ManifestContext& context, const std::string& what, const toml::node& node, int64_t max) {
  const toml::value<int64_t>* value = node.as_integer();
  if (value == nullptr) context.Fail(what + " must be an integer, not " + TypeName(node));
  int64_t number = value->get();
  if (number < 0 || number > max) {
    context.Fail(what + " is " + std::to_string(number) + "; it must be 0 .. " + std::to_string(max));
  }
  return static_cast<uint32_t>(number);
}

std::vector<std::string> ExpectStrings(const ManifestContext& context, const std::string& what,
                                       const toml::node& node) {
  if (node.is_string()) return {ExpectString(context, what, node)};
  const toml::array* array = node.as_array();
  if (array == nullptr) context.Fail(what + " must be a string or an array of strings, not " + TypeName(node));
  std::vector<std::string> strings;
  for (const toml::node& element : *array) strings.push_back(ExpectString(context, what, element));
  return strings;
}

void ExpectKeys(const ManifestContext& context, const std::string& what, const toml::table& table,
                const std::vector<std::string>& allowed) {
  for (auto&& [key, value] : table) {
    bool known = false;
    for (const std::string& name : allowed) known = known || key == name;
    if (!known) context.Fail(what + " has unknown key " + Quoted(std::string(key.str())));
  }
}

}  // namespace vpack
