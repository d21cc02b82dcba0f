#include "vpack/manifest/ManifestTexts.h"

#include <algorithm>

#include "payload/Languages.h"
#include "payload/TextItems.h"
#include "vpack/base/Error.h"
#include "vpack/base/Suggest.h"
#include "vpack/base/SystemPath.h"
#include "vpack/manifest/KitTranslations.h"

namespace vpack {
namespace {

// A translation named by a path rather than by one of the kit's names.
bool IsPath(const std::string& name) { return PathOf(name).extension() == ".toml"; }

const payload::Language* LanguageOfTag(const std::string& tag) { return payload::FindLanguage(tag.c_str()); }

std::vector<std::string> KnownTags() {
  std::vector<std::string> tags;
  for (const payload::Language& language : payload::kLanguages) tags.push_back(language.tag);
  return tags;
}

std::string UnknownTag(const std::string& what, const std::string& tag) {
  return what + " " + Quoted(tag) + ", which is no language vpack knows" +
         DidYouMean(tag, KnownTags(), " (docs/manifest.md lists the tags)");
}

LanguageTexts& LanguageFor(Manifest& manifest, const payload::Language& known, const std::string& entry) {
  for (LanguageTexts& language : manifest.languages) {
    if (language.tag == known.tag) return language;
  }
  manifest.languages.push_back({known.tag, known.id, {}, {}, entry});
  return manifest.languages.back();
}

// The messages about a translation's lines point at them, in its own file,
// and name the manifest's line that takes it.
TranslationSpec TranslationAt(const ManifestContext& context, const toml::node& node) {
  std::string name = context.Expand("texts from", node);
  return {name, IsPath(name) ? context.PathOf("texts from", node) : std::string(),
          context.Entry(node, "texts " + Quoted(name)), ", in the translation taken by " + context.Place(node.source())};
}

// One translation: a kit's by its language's tag, or a file, whose language
// is known once it is read. Returns the language it stands for.
size_t AddTranslation(const ManifestContext& context, const toml::node& node, std::vector<std::string>& named,
                      Manifest& manifest) {
  TranslationSpec translation = TranslationAt(context, node);
  if (!translation.path.empty()) {
    manifest.languages.push_back({std::string(), 0, translation, {}, translation.entry});
    return manifest.languages.size() - 1;
  }
  const payload::Language* known = LanguageOfTag(translation.name);
  if (known == nullptr) context.Fail(node, UnknownTag("texts names", translation.name));
  if (std::find(named.begin(), named.end(), translation.name) != named.end()) {
    context.Fail(node, "texts names the language " + Quoted(translation.name) + " twice");
  }
  named.push_back(translation.name);
  LanguageTexts& language = LanguageFor(manifest, *known, translation.entry);
  language.translation = translation;
  return static_cast<size_t>(&language - manifest.languages.data());
}

// A name, or an array of them; the languages they stand for.
std::vector<size_t> AddTranslations(const ManifestContext& context, const toml::node& node, Manifest& manifest) {
  std::vector<std::string> named;
  std::vector<size_t> added;
  if (const toml::array* list = node.as_array()) {
    for (const toml::node& each : *list) added.push_back(AddTranslation(context, each, named, manifest));
    return added;
  }
  if (!node.is_string()) {
    context.Fail(node, std::string("texts must be a translation's name, a list of them or a table, not ") +
                           TypeName(node));
  }
  added.push_back(AddTranslation(context, node, named, manifest));
  return added;
}

// Keys with a dot are quoted in TOML: written bare, caption.error is a
// table "caption" holding "error", which is said plainly rather than as an
// unknown key.
// label names the table in messages: "texts", "texts.de", or a file's.
void ReadTextTable(const ManifestContext& context, const toml::table& table, bool top, const std::string& label,
                   std::vector<TextValue>& texts) {
  for (auto&& [key, value] : table) {
    std::string name(key.str());
    if (top && (name == kTranslationKey || name == kLogKey)) continue;
    if (const toml::table* inner = value.as_table()) {
      if (top && LanguageOfTag(name) != nullptr) continue;
      std::string example = inner->empty() ? name : name + "." + std::string(inner->begin()->first.str());
      context.Fail(key, label + " has " + Quoted(name) + " as a table: write each key in quotes, " + Quoted(example) +
                            " = \"...\" (or name a language: [texts.de])");
    }
    texts::Id id;
    if (!texts::FindKey(name.c_str(), &id)) {
      std::vector<std::string> keys(texts::kKeys, texts::kKeys + texts::kTextCount);
      if (top) keys.insert(keys.end(), {kTranslationKey, kLogKey});
      std::string otherwise = " (the kit's texts/template.toml lists every key)";
      context.Fail(key, label + " has unknown key " + Quoted(name) + DidYouMean(name, keys, otherwise));
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

// The keys of [texts] itself are the words of the one language its "from"
// names, or of English where it names none.
LanguageTexts& LanguageOfOwnKeys(const ManifestContext& context, const toml::table& table,
                                 const std::vector<size_t>& named, Manifest& manifest) {
  if (named.size() == 1) return manifest.languages[named[0]];
  for (auto&& [key, value] : table) {
    std::string name(key.str());
    if (name == kTranslationKey || name == kLogKey || (value.is_table() && LanguageOfTag(name) != nullptr)) continue;
    if (!named.empty()) {
      context.Fail(key, "texts names several languages, so " + Quoted(name) +
                            " is of none: write it under the language's own table, [texts.TAG]");
    }
  }
  return LanguageFor(manifest, *LanguageOfTag("en"), context.Entry(table.source(), "texts"));
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

// A kit file's language is its name; a publisher's file says it in
// `language`, else its name does.
void ReadOneTranslation(LanguageTexts& language) {
  TranslationSpec& translation = language.translation;
  std::string path = TranslationFile(translation);
  ManifestContext context{path, PathOf(path).parent_path(), {}, translation.takenBy};
  std::error_code error;
  if (!std::filesystem::is_regular_file(PathOf(path), error)) {
    throw Error(translation.entry + ": no translation file at " + Quoted(path));
  }
  toml::table root = ParseToml(context, ReadManifestFile(context));
  // code-page: written by translations for vpack 1.3, whose installers held
  // the texts in it; they are now stored in Unicode, whatever the page.
  ExpectKeys(context, "the translation", root, {"code-page", "language", "texts"});
  if (language.tag.empty()) {
    std::string tag = TextOf(PathOf(path).stem());
    if (const toml::node* named = root.get("language")) tag = ExpectString(context, "language", *named);
    const payload::Language* known = LanguageOfTag(tag);
    if (known == nullptr) context.FailFile(UnknownTag("is of the language", tag) + ": give language = \"TAG\"");
    language.tag = known->tag;
    language.id = known->id;
  }
  const toml::table* table = root.get_as<toml::table>("texts");
  if (table == nullptr) context.FailFile("has no [texts] table");
  std::vector<TextValue> texts;
  ReadTextTable(context, *table, false, "texts", texts);
  // The manifest's own texts win over the translation's.
  for (TextValue& text : texts) {
    text.fromTranslation = true;
    auto own = [&text](const TextValue& t) { return t.id == text.id; };
    if (std::none_of(language.texts.begin(), language.texts.end(), own)) language.texts.push_back(std::move(text));
  }
}

}  // namespace

void ParseTexts(const ManifestContext& context, const toml::node& node, Manifest& manifest) {
  const toml::table* table = node.as_table();
  if (table == nullptr) {
    AddTranslations(context, node, manifest);
    return;
  }
  std::vector<size_t> named;
  if (const toml::node* from = table->get(kTranslationKey)) named = AddTranslations(context, *from, manifest);
  if (const toml::node* log = table->get(kLogKey)) {
    std::string words = ExpectString(context, "texts log", *log);
    if (words != "english" && words != payload::kLogAsShown) {
      context.Fail(*log,
                   "texts log is " + Quoted(words) + "; it takes \"english\" or \"" + payload::kLogAsShown + "\"");
    }
    manifest.logAsShown = words == payload::kLogAsShown;
  }
  std::vector<TextValue> own;
  ReadTextTable(context, *table, true, "texts", own);
  if (!own.empty()) {
    LanguageTexts& language = LanguageOfOwnKeys(context, *table, named, manifest);
    for (TextValue& text : own) {
      auto same = std::find_if(language.texts.begin(), language.texts.end(),
                               [&text](const TextValue& t) { return t.id == text.id; });
      if (same != language.texts.end()) *same = text; else language.texts.push_back(text);
    }
  }
  for (auto&& [key, value] : *table) {
    const payload::Language* known = LanguageOfTag(std::string(key.str()));
    if (value.as_table() == nullptr || known == nullptr) continue;
    std::string label = "texts." + std::string(key.str());
    LanguageTexts& language = LanguageFor(manifest, *known, context.Entry(key, label));
    ReadTextTable(context, *value.as_table(), false, label, language.texts);
  }
}

void ParseDefaultLanguage(const ManifestContext& context, const toml::node& node, Manifest& manifest) {
  std::string tag = ExpectString(context, "default-language", node);
  if (LanguageOfTag(tag) == nullptr) context.Fail(node, UnknownTag("default-language is", tag));
  manifest.defaultLanguage = tag;
  manifest.defaultLanguageEntry = context.Entry(node, "default-language");
}

void ReadTranslation(Manifest& manifest) {
  for (LanguageTexts& language : manifest.languages) {
    if (!language.translation.name.empty()) ReadOneTranslation(language);
  }
  for (size_t i = 0; i < manifest.languages.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (manifest.languages[j].tag == manifest.languages[i].tag) {
        throw Error(manifest.languages[i].entry + ": names the language " + Quoted(manifest.languages[i].tag) +
                    " twice (once at " + manifest.languages[j].entry + ")");
      }
    }
  }
  // One language and no default named: that language is everyone's, as an
  // installer of one language has always been.
  if (manifest.defaultLanguageEntry.empty() && manifest.languages.size() == 1) {
    manifest.defaultLanguage = manifest.languages[0].tag;
  }
  bool carried = manifest.defaultLanguage == "en" ||
                 std::any_of(manifest.languages.begin(), manifest.languages.end(),
                             [&](const LanguageTexts& l) { return l.tag == manifest.defaultLanguage; });
  if (!carried) {
    throw Error(manifest.defaultLanguageEntry + ": " + Quoted(manifest.defaultLanguage) +
                " is not among the languages the installer carries");
  }
}

}  // namespace vpack
