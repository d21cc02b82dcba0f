#include "vpack/manifest/ManifestTexts.h"

#include <algorithm>

#include "vpack/base/Error.h"
#include "vpack/base/Suggest.h"
#include "vpack/base/SystemPath.h"
#include "payload/TextItems.h"
#include "vpack/manifest/KitTranslations.h"

namespace vpack {
namespace {

// A translation named by a path rather than by one of the kit's names.
bool IsPath(const std::string& name) { return PathOf(name).extension() == ".toml"; }

// The messages about a translation's lines point at them, in its own file,
// and name the manifest's line that takes it.
void SetTranslation(const ManifestContext& context, const toml::node& node, TranslationSpec& translation) {
  std::string name = context.Expand("texts from", node);
  translation = {name, IsPath(name) ? context.PathOf("texts from", node) : std::string(),
                 context.Entry(node, "texts " + Quoted(name)),
                 ", in the translation taken by " + context.Place(node.source())};
}

// The keys a [texts] table may have: every text's, and in a manifest's
// table the two that are not texts.
std::vector<std::string> TextKeys(bool fromAllowed) {
  std::vector<std::string> keys(texts::kKeys, texts::kKeys + texts::kTextCount);
  if (fromAllowed) keys.insert(keys.end(), {kTranslationKey, kLogKey});
  return keys;
}

// Keys with a dot are quoted in TOML: written bare, caption.error is a
// table "caption" holding "error", which is said plainly rather than as an
// unknown key.
void ReadTextTable(const ManifestContext& context, const toml::table& table, bool fromAllowed,
                   std::vector<TextValue>& texts) {
  for (auto&& [key, value] : table) {
    std::string name(key.str());
    if (fromAllowed && (name == kTranslationKey || name == kLogKey)) continue;
    if (const toml::table* inner = value.as_table()) {
      std::string example = inner->empty() ? name : name + "." + std::string(inner->begin()->first.str());
      context.Fail(key, "texts has " + Quoted(name) + " as a table: write each key in quotes, " + Quoted(example) +
                            " = \"...\"");
    }
    texts::Id id;
    if (!texts::FindKey(name.c_str(), &id)) {
      std::string otherwise = " (the kit's texts/template.toml lists every key)";
      context.Fail(key, "texts has unknown key " + Quoted(name) + DidYouMean(name, TextKeys(fromAllowed), otherwise));
    }
    std::string what = "text " + Quoted(name);
    TextValue text{id, ExpectString(context, what, value), context.Entry(key, what)};
    auto same = std::find_if(texts.begin(), texts.end(), [id](const TextValue& t) { return t.id == id; });
    if (same != texts.end()) {
      *same = text;
    } else {
      texts.push_back(text);
    }
  }
}

std::string Joined(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
  return joined;
}

std::string TranslationFile(const TranslationSpec& translation) {
  if (!translation.path.empty()) return translation.path;
  std::filesystem::path folder = KitTranslationFolder();
  std::vector<std::string> names = TranslationNames(folder);
  if (names.empty()) {
    throw Error(translation.entry + ": this vpack has no kit translations beside it (" + TextOf(folder) +
                "); name a translation file by its path instead");
  }
  if (std::find(names.begin(), names.end(), translation.name) == names.end()) {
    throw Error(translation.entry + ": the kit has no translation of that name; it has " + Joined(names) +
                " (or name a .toml file of your own by its path)");
  }
  return TextOf(folder / (translation.name + ".toml"));
}

}  // namespace

void ParseTexts(const ManifestContext& context, const toml::node& node, Manifest& manifest) {
  if (node.is_string()) {
    SetTranslation(context, node, manifest.translation);
    return;
  }
  const toml::table* table = node.as_table();
  if (table == nullptr) {
    context.Fail(node, std::string("texts must be a translation's name or a table, not ") + TypeName(node));
  }
  if (const toml::node* from = table->get(kTranslationKey)) SetTranslation(context, *from, manifest.translation);
  if (const toml::node* log = table->get(kLogKey)) {
    std::string words = ExpectString(context, "texts log", *log);
    if (words != "english" && words != payload::kLogAsShown) {
      context.Fail(*log,
                   "texts log is " + Quoted(words) + "; it takes \"english\" or \"" + payload::kLogAsShown + "\"");
    }
    manifest.logAsShown = words == payload::kLogAsShown;
  }
  ReadTextTable(context, *table, true, manifest.texts);
}

void ReadTranslation(Manifest& manifest) {
  TranslationSpec& translation = manifest.translation;
  if (translation.name.empty()) return;
  std::string path = TranslationFile(translation);
  ManifestContext context{path, PathOf(path).parent_path(), {}, translation.takenBy};
  std::error_code error;
  if (!std::filesystem::is_regular_file(PathOf(path), error)) {
    throw Error(translation.entry + ": no translation file at " + Quoted(path));
  }
  toml::table root = ParseToml(context, ReadManifestFile(context));
  ExpectKeys(context, "the translation", root, {"code-page", "texts"});
  if (const toml::node* page = root.get("code-page")) {
    translation.codePage = ExpectInteger(context, "code-page", *page, 0xFFFF);
  }
  const toml::table* table = root.get_as<toml::table>("texts");
  if (table == nullptr) context.FailFile("has no [texts] table");
  std::vector<TextValue> texts;
  ReadTextTable(context, *table, false, texts);
  // The manifest's own texts win over the translation's.
  for (TextValue& text : texts) {
    text.fromTranslation = true;
    auto own = [&text](const TextValue& t) { return t.id == text.id; };
    if (std::none_of(manifest.texts.begin(), manifest.texts.end(), own)) manifest.texts.push_back(std::move(text));
  }
}

}  // namespace vpack
