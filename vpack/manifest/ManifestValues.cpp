#include "vpack/manifest/ManifestValues.h"

#include <errno.h>
#include <string.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "vpack/base/Error.h"
#include "vpack/base/Processes.h"
#include "vpack/base/Suggest.h"
#include "vpack/base/SystemPath.h"

namespace vpack {

std::string ManifestContext::Place(const toml::source_region& at) const {
  return SourcePlace(path, at.begin.line, at.begin.column);
}

std::string ManifestContext::Entry(const toml::source_region& at, const std::string& what) const {
  return Place(at) + ": " + what;
}

void ManifestContext::Fail(const toml::source_region& at, const std::string& message) const {
  throw Error(Entry(at, message) + takenBy);
}

void ManifestContext::FailFile(const std::string& message) const { throw Error(path + ": " + message + takenBy); }

// "env:NAME" reads the environment, for what a build pipeline passes in
// (a version, a key's folder); an unset one is an error like an unknown one.
std::string ManifestContext::Value(const toml::node& at, const std::string& what, const std::string& name) const {
  if (name.rfind(kEnvironmentPrefix, 0) == 0) {
    std::string variable = name.substr(strlen(kEnvironmentPrefix));
    std::optional<std::string> value = EnvironmentVariable(variable);
    if (!value) Fail(at, what + " uses environment variable " + Quoted(variable) + ", which is not set");
    return *value;
  }
  auto found = variables.find(name);
  if (found == variables.end()) {
    std::vector<std::string> known;
    for (const auto& [defined, value] : variables) known.push_back(defined);
    Fail(at, what + " uses unknown variable " + Quoted(name) + DidYouMean(name, known));
  }
  return found->second;
}

std::string ManifestContext::Expand(const std::string& what, const toml::node& node) const {
  std::string text = ExpectString(*this, what, node);
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    size_t open = text.find("${", at);
    if (open == std::string::npos) break;
    size_t close = text.find('}', open);
    if (close == std::string::npos) Fail(node, what + " has \"${\" without \"}\"");
    std::string name = text.substr(open + 2, close - open - 2);
    out += text.substr(at, open - at) + Value(node, what, name);
    at = close + 1;
  }
  return out + text.substr(std::min(at, text.size()));
}

std::filesystem::path ManifestPathOf(std::string text) {
  std::replace(text.begin(), text.end(), '\\', '/');
  return vpack::PathOf(text);
}

std::string ManifestContext::PathOf(const std::string& what, const toml::node& node) const {
  std::filesystem::path given = ManifestPathOf(Expand(what, node));
  return TextOf(given.is_relative() ? (folder / given).lexically_normal() : given);
}

std::string ReadManifestFile(const ManifestContext& context) {
  std::error_code error;
  std::filesystem::path path = PathOf(context.path);
  if (std::filesystem::is_directory(path, error)) context.FailFile("is a folder, not a manifest");
  if (!std::filesystem::exists(path, error)) context.FailFile("cannot read: no such file");
  if (!std::filesystem::is_regular_file(path, error)) context.FailFile("is not a regular file");
  std::ifstream in(path, std::ios::binary);
  if (!in) context.FailFile(std::string("cannot read: ") + strerror(errno));
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

toml::table ParseToml(const ManifestContext& context, const std::string& text) {
  // Windows' editors save "Unicode" as UTF-16: a byte-order mark, or a NUL
  // in every other byte of ASCII text.
  bool marked = text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0;
  if (marked || (text.size() >= 2 && (text[0] == '\0' || text[1] == '\0'))) {
    context.FailFile("is UTF-16 text; save it as UTF-8");
  }
  try {
    return toml::parse(text, context.path);
  } catch (const toml::parse_error& e) {
    context.Fail(e.source(), "bad TOML: " + std::string(e.description()));
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
  if (value == nullptr) context.Fail(node, what + " must be a string, not " + TypeName(node));
  const std::string& text = value->get();
  if (text.find('\0') != std::string::npos) context.Fail(node, what + " contains a NUL character");
  return text;
}

uint32_t ExpectInteger(const ManifestContext& context, const std::string& what, const toml::node& node, int64_t max) {
  const toml::value<int64_t>* value = node.as_integer();
  if (value == nullptr) context.Fail(node, what + " must be an integer, not " + TypeName(node));
  int64_t number = value->get();
  if (number < 0 || number > max) {
    context.Fail(node, what + " is " + std::to_string(number) + "; it must be 0 .. " + std::to_string(max));
  }
  return static_cast<uint32_t>(number);
}

std::vector<const toml::node*> ExpectStringNodes(const ManifestContext& context, const std::string& what,
                                                 const toml::node& node) {
  if (node.is_string()) return {&node};
  const toml::array* array = node.as_array();
  if (array == nullptr) context.Fail(node, what + " must be a string or an array of strings, not " + TypeName(node));
  std::vector<const toml::node*> strings;
  for (const toml::node& element : *array) {
    ExpectString(context, what, element);
    strings.push_back(&element);
  }
  return strings;
}

std::vector<std::string> ExpectStrings(const ManifestContext& context, const std::string& what,
                                       const toml::node& node) {
  std::vector<std::string> strings;
  for (const toml::node* element : ExpectStringNodes(context, what, node)) {
    strings.push_back(ExpectString(context, what, *element));
  }
  return strings;
}

void ExpectKeys(const ManifestContext& context, const std::string& what, const toml::table& table,
                const std::vector<std::string>& allowed) {
  for (auto&& [key, value] : table) {
    std::string name(key.str());
    if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
      context.Fail(key, what + " has unknown key " + Quoted(name) + DidYouMean(name, allowed));
    }
  }
}

}  // namespace vpack
