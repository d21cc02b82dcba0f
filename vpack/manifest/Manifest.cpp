// Reads a manifest and the manifests it includes into one Manifest: settings
// by name (the including manifest's value wins), files from [[file]] and
// [[folder]] entries sorted by item name, so that the same tree always gives
// the same installer, and the [branding] keys (the including manifest's
// win). docs/manifest.md describes every key.
#include "vpack/manifest/Manifest.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/Text.h"
#include "vpack/base/Error.h"
#include "vpack/base/Suggest.h"
#include "vpack/base/SystemPath.h"
#include "vpack/manifest/BrandingSettings.h"
#include "vpack/manifest/ManifestChecks.h"
#include "vpack/manifest/ManifestEncoding.h"
#include "vpack/manifest/ManifestLicence.h"
#include "vpack/manifest/ManifestTexts.h"
#include "vpack/manifest/ManifestValues.h"

namespace vpack {
namespace {

// Deep enough for any sensible sharing, shallow enough to stop a cycle.
constexpr int kMaxIncludeDepth = 8;

SettingValue ParseSetting(const ManifestContext& context, const SettingInfo& info, const toml::key& key,
                          const toml::node& node) {
  std::string what = "setting " + Quoted(info.name);
  SettingValue setting{&info, 0, std::string(), std::string(), context.Entry(key, what)};
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
        context.Fail(node, what + " must be a boolean or an integer, not " + TypeName(node));
      }
      break;
    case SettingKind::kText:
      // Its length counts once it is in the code page (ManifestEncoding.cpp).
      setting.text = ExpectString(context, what, node);
      break;
  }
  return setting;
}

// What an unknown setting may be a slip for: not the code page, which is
// never set.
std::vector<std::string> SettableNames() {
  std::vector<std::string> names;
  for (const SettingInfo& info : KnownSettings()) {
    if (std::string(info.name) != payload::kCodePageSetting.name) names.push_back(info.name);
  }
  return names;
}

// Settings an included manifest gave are replaced by the including one's.
void ParseSettings(const ManifestContext& context, const toml::node& node, std::vector<SettingValue>& settings) {
  const toml::table* table = node.as_table();
  if (table == nullptr) context.Fail(node, std::string("settings must be a table, not ") + TypeName(node));
  for (auto&& [key, value] : *table) {
    std::string name(key.str());
    const SettingInfo* info = FindSetting(name);
    if (info == nullptr) context.Fail(key, "unknown setting " + Quoted(name) + DidYouMean(name, SettableNames()));
    if (std::string(info->name) == payload::kCodePageSetting.name) {
      context.Fail(key, "setting " + Quoted(info->name) + " is written from the top-level code-page, not set");
    }
    SettingValue setting = ParseSetting(context, *info, key, value);
    auto same =
        std::find_if(settings.begin(), settings.end(), [info](const SettingValue& s) { return s.info == info; });
    if (same != settings.end()) {
      *same = setting;
    } else {
      settings.push_back(setting);
    }
  }
}

Store ParseStore(const ManifestContext& context, const std::string& what, const toml::node& node) {
  std::string label = ExpectString(context, what + " store", node);
  for (Store store : {Store::kZlib, Store::kRaw, Store::kEngine}) {
    if (label == StoreLabel(store)) return store;
  }
  context.Fail(node, what + " has unknown store " + Quoted(label) + " (zlib, raw or engine)");
}

// "none" keeps a folder's files out of every list.
std::optional<packager::ListKind> ParseList(const ManifestContext& context, const std::string& what,
                                            const toml::node& node) {
  std::string label = ExpectString(context, what + " list", node);
  if (label == "none") return std::nullopt;
  using packager::ListKind;
  for (ListKind kind : {ListKind::kChannels, ListKind::kChannelModules, ListKind::kProjectFiles}) {
    if (label == ListLabel(kind)) return kind;
  }
  context.Fail(node, what + " has unknown list " + Quoted(label) + " (channels, channel-modules, project or none)");
}

const toml::table& TableAt(const ManifestContext& context, const std::string& what, const toml::node& node) {
  const toml::table* table = node.as_table();
  if (table == nullptr) context.Fail(node, what + " must be a table, not " + TypeName(node));
  return *table;
}

FileSpec ParseFile(const ManifestContext& context, const toml::table& table, size_t index) {
  std::string what = "file #" + std::to_string(index + 1);
  ExpectKeys(context, what, table, {"name", "source", "store", "list"});
  if (!table.contains("name")) context.Fail(table, what + " has no name");
  FileSpec file;
  std::string given = context.Expand(what + " name", *table.get("name"));
  file.name = CanonicalName(given);
  what = "file " + Quoted(given);
  if (!table.contains("source")) context.Fail(table, what + " has no source");
  file.source = context.PathOf(what + " source", *table.get("source"));
  if (const toml::node* list = table.get("list")) file.list = ParseList(context, what, *list);
  file.store = DefaultStore(file.name);
  if (const toml::node* store = table.get("store")) file.store = ParseStore(context, what, *store);
  file.entry = context.Entry(table, what);
  return file;
}

FolderSpec ParseFolder(const ManifestContext& context, const toml::table& table, size_t index) {
  std::string what = "folder #" + std::to_string(index + 1);
  ExpectKeys(context, what, table, {"source", "target", "include", "exclude", "store", "list", "include-litter"});
  if (!table.contains("source")) context.Fail(table, what + " has no source");
  what = "folder " + Quoted(ExpectString(context, what + " source", *table.get("source")));
  FolderSpec folder;
  folder.source = context.PathOf(what + " source", *table.get("source"));
  if (const toml::node* target = table.get("target")) {
    folder.target = CanonicalName(context.Expand(what + " target", *target));
    while (!folder.target.empty() && folder.target.back() == '\\') folder.target.pop_back();
  }
  if (const toml::node* include = table.get("include")) folder.include = ExpectStrings(context, what, *include);
  if (const toml::node* exclude = table.get("exclude")) folder.exclude = ExpectStrings(context, what, *exclude);
  if (const toml::node* list = table.get("list")) {
    folder.listGiven = true;
    folder.list = ParseList(context, what, *list);
  }
  if (const toml::node* store = table.get("store")) folder.store = ParseStore(context, what, *store);
  if (const toml::node* litter = table.get("include-litter")) {
    const toml::value<bool>* flag = litter->as_boolean();
    if (flag == nullptr) context.Fail(*litter, what + " include-litter must be a boolean, not " + TypeName(*litter));
    folder.takeLitter = flag->get();
  }
  folder.entry = context.Entry(table, what);
  return folder;
}

// Two [[folder]] entries of one source (for two patterns, say) would read
// alike in messages but for their lines; such entries are named by their
// number as well, which a publisher counts more readily.
void NumberTwinFolders(std::vector<FolderSpec>& folders, size_t first) {
  auto label = [](const std::string& entry) { return entry.substr(entry.rfind(": folder ")); };
  std::vector<std::string> labels;
  for (size_t i = first; i < folders.size(); ++i) labels.push_back(label(folders[i].entry));
  for (size_t i = first; i < folders.size(); ++i) {
    if (std::count(labels.begin(), labels.end(), label(folders[i].entry)) < 2) continue;
    std::string& entry = folders[i].entry;
    size_t what = entry.rfind(": folder ");
    entry.insert(what + 9, "#" + std::to_string(i - first + 1) + " ");
  }
}

template <typename Parse>
void ForEachTable(const ManifestContext& context, const char* key, const toml::node& node, Parse parse) {
  const toml::array* array = node.as_array();
  if (array == nullptr) {
    context.Fail(node, std::string(key) + " must be written as [[" + key + "]] tables, not " + TypeName(node));
  }
  for (size_t i = 0; i < array->size(); ++i) {
    parse(TableAt(context, std::string(key) + " #" + std::to_string(i + 1), (*array)[i]), i);
  }
}

Variables ParseVariables(const ManifestContext& context, const toml::table& root, const Variables& inherited) {
  Variables variables;
  if (const toml::node* node = root.get("vars")) {
    for (auto&& [key, value] : TableAt(context, "vars", *node)) {
      variables[std::string(key.str())] = ExpectString(context, "variable " + Quoted(std::string(key.str())), value);
    }
  }
  // The including manifest's values win, so a shared manifest's are defaults.
  for (const auto& [name, value] : inherited) variables[name] = value;
  return variables;
}

// The variables a manifest declares in [vars] or refers to as ${NAME}, so
// that a --var naming none of them is found out.
void NoteVariableNames(const toml::table& root, const std::string& text, std::set<std::string>& names) {
  if (const toml::table* vars = root.get_as<toml::table>("vars")) {
    for (auto&& [key, value] : *vars) names.insert(std::string(key.str()));
  }
  for (size_t open = text.find("${"); open != std::string::npos; open = text.find("${", open + 2)) {
    size_t close = text.find('}', open);
    if (close != std::string::npos) names.insert(text.substr(open + 2, close - open - 2));
  }
}

// Read after the includes, so the including manifest's code page wins.
unsigned ParseCodePage(const ManifestContext& context, const toml::node& node) {
  uint32_t number = ExpectInteger(context, "code-page", node, 0xFFFF);
  if (!IsSupportedCodePage(number)) {
    context.Fail(node, "code-page " + std::to_string(number) + " is not a Windows ANSI code page vpack writes (" +
                           kSupportedCodePages + "); the installer reads its text with the ANSI functions");
  }
  return number;
}

// The manifests that include the one being read, outermost first, and it.
using IncludeChain = std::vector<std::filesystem::path>;

void ParseInto(const std::string& path, const std::string& text, const Variables& inherited, IncludeChain chain,
               Manifest& manifest);

// An include of a manifest that is on its own chain never ends.
void RefuseLoop(const ManifestContext& context, const toml::node& at, const std::string& given,
                const std::filesystem::path& included, const IncludeChain& chain) {
  std::error_code error;
  std::filesystem::path target = std::filesystem::weakly_canonical(included, error);
  for (const std::filesystem::path& including : chain) {
    if (std::filesystem::weakly_canonical(including, error) != target) continue;
    if (&including == &chain.back()) context.Fail(at, "include " + Quoted(given) + " is this manifest itself");
    context.Fail(at, "include " + Quoted(given) + " is " + Quoted(TextOf(including)) +
                         ", which includes this manifest: the includes go round in a loop");
  }
}

void LoadIncludes(const ManifestContext& context, const toml::node& node, const IncludeChain& chain,
                  Manifest& manifest) {
  int depth = static_cast<int>(chain.size()) - 1;
  if (depth >= kMaxIncludeDepth) context.Fail(node, "includes nest deeper than " + std::to_string(kMaxIncludeDepth));
  for (const toml::node* element : ExpectStringNodes(context, "include", node)) {
    std::string given = ExpectString(context, "include", *element);
    std::filesystem::path included = ManifestPathOf(context.Expand("include", *element));
    if (included.is_relative()) included = context.folder / included;
    // Named here, from the manifest that asks for it, so a typo is found.
    std::error_code error;
    if (!std::filesystem::is_regular_file(included, error)) {
      context.Fail(*element, "include " + Quoted(given) + ": no manifest file at " +
                                 Quoted(TextOf(included.lexically_normal())));
    }
    RefuseLoop(context, *element, given, included, chain);
    std::string path = TextOf(included.lexically_normal());
    ParseInto(path, ReadManifestFile(ManifestContext{path, {}, {}, {}}), context.variables, chain, manifest);
  }
}

void ParseInto(const std::string& path, const std::string& text, const Variables& inherited, IncludeChain chain,
               Manifest& manifest) {
  ManifestContext context{path, PathOf(path).parent_path(), {}, {}};
  chain.push_back(PathOf(path));
  toml::table root = ParseToml(context, text);
  manifest.inputs.push_back(path);
  ExpectKeys(context, "the manifest", root, {"include", "vars", "stub", "code-page", "settings", "file", "folder",
                                             "branding", "signing", "texts",
                                             "default-language", "licence"});
  context.variables = ParseVariables(context, root, inherited);
  NoteVariableNames(root, text, manifest.variableNames);
  if (const toml::node* include = root.get("include")) LoadIncludes(context, *include, chain, manifest);
  if (const toml::node* stub = root.get("stub")) manifest.stub = context.PathOf("stub", *stub);
  if (const toml::node* page = root.get("code-page")) manifest.codePage = ParseCodePage(context, *page);
  if (const toml::node* settings = root.get("settings")) ParseSettings(context, *settings, manifest.settings);
  if (const toml::node* branding = root.get("branding")) ReadBranding(context, *branding, manifest.branding);
  if (const toml::node* signing = root.get("signing")) ReadSigning(context, *signing, manifest.signing);
  if (const toml::node* texts = root.get("texts")) ParseTexts(context, *texts, manifest);
  if (const toml::node* language = root.get("default-language")) ParseDefaultLanguage(context, *language, manifest);
  if (const toml::node* licence = root.get("licence")) ParseLicence(context, *licence, manifest);
  if (const toml::node* files = root.get("file")) {
    ForEachTable(context, "file", *files,
                 [&](const toml::table& table, size_t i) { manifest.files.push_back(ParseFile(context, table, i)); });
  }
  if (const toml::node* folders = root.get("folder")) {
    size_t first = manifest.folders.size();
    ForEachTable(context, "folder", *folders, [&](const toml::table& table, size_t i) {
      manifest.folders.push_back(ParseFolder(context, table, i));
      manifest.folders.back().filesBefore = manifest.files.size();
    });
    NumberTwinFolders(manifest.folders, first);
  }
}

// Settings in the fixed order of the known settings, texts by number and
// files by name, not the manifest's order, so that rearranging a manifest or
// a disk's directory order does not change the installer.
void Order(Manifest& manifest) {
  auto rank = [](const SettingValue& s) {
    const std::vector<SettingInfo>& known = KnownSettings();
    return std::find_if(known.begin(), known.end(), [&](const SettingInfo& i) { return &i == s.info; }) - known.begin();
  };
  std::stable_sort(manifest.settings.begin(), manifest.settings.end(),
                   [&](const SettingValue& a, const SettingValue& b) { return rank(a) < rank(b); });
  for (LanguageTexts& language : manifest.languages) {
    std::sort(language.texts.begin(), language.texts.end(),
              [](const TextValue& a, const TextValue& b) { return a.id < b.id; });
  }
  std::stable_sort(manifest.files.begin(), manifest.files.end(), [](const FileSpec& a, const FileSpec& b) {
    int order = text::CompareNoCase(a.name.c_str(), b.name.c_str());
    return order != 0 ? order < 0 : a.name < b.name;
  });
}

}  // namespace

Manifest ParseManifest(const std::string& path, const std::string& text, const Variables& overrides) {
  Manifest manifest;
  manifest.path = path;
  // Given as the top manifest's inherited values, they win everywhere.
  ParseInto(path, text, overrides, {}, manifest);
  // As an unknown variable in a manifest is an error, so is one given for
  // none: a misspelt --var would otherwise change nothing without a word.
  for (const auto& [name, value] : overrides) {
    if (manifest.variableNames.count(name) == 0) {
      std::vector<std::string> known(manifest.variableNames.begin(), manifest.variableNames.end());
      throw Error("--var " + Quoted(name) + ": no manifest declares it in [vars] or uses ${" + name + "}" +
                  DidYouMean(name, known));
    }
  }
  return manifest;
}

void FinishManifest(Manifest& manifest) {
  std::string branding = FinishBranding(manifest.branding);
  if (!branding.empty()) manifest.warnings.push_back(manifest.path + ": " + branding);
  AddBrandingSettings(manifest);
  std::vector<std::string> problems = EncodeText(manifest);
  Order(manifest);
  CheckManifest(manifest, problems);
}

Manifest LoadManifest(const std::string& path, const Variables& overrides, const std::string& output) {
  Manifest manifest = ParseManifest(path, ReadManifestFile(ManifestContext{path, {}, {}, {}}), overrides);
  manifest.output = output;
  ReadSources(manifest);
  FinishManifest(manifest);
  return manifest;
}

const char* ListLabel(packager::ListKind kind) {
  switch (kind) {
    case packager::ListKind::kChannels: return "channels";
    case packager::ListKind::kChannelModules: return "channel-modules";
    default: return "project";
  }
}

}  // namespace vpack
