#pragma once
// How an installer carries its texts in many languages, and which of them a
// user meets. Each language is one item of a type of its own (older stubs
// and the list of settings pass over it), named by the language's tag
// ("de", "zh-CN"): its Windows language number, its flags, then each text
// it gives as the text's number, its length and its UTF-8, which holds any
// script whatever the installer's code page. A key a language lacks keeps
// its English.
#include <stdint.h>

namespace payload {

inline constexpr char kTypeLanguage[] = "LANG";

// The block's head: the language number (LANGID) and the flags, each two
// bytes little-endian; then per text one byte of number, two of length.
constexpr uint32_t kLanguageHead = 4;
constexpr uint32_t kLanguageTextHead = 3;
// Shown where the user's own language, or one standing for it, is not
// carried: the manifest's default-language.
constexpr uint16_t kLanguageDefault = 1;
// Longer than every text of a language together needs; what a stub reads
// into memory at start.
constexpr uint32_t kMaxLanguageBytes = 64 * 1024;

// The languages that stand for one another where the user's own is not
// carried: those of one primary language (pt-BR for pt-PT, en-US for
// en-GB, nb for nn), except Chinese, whose two scripts never stand for each
// other (zh-TW with zh-HK and zh-MO, zh-CN with zh-SG), and Croatian,
// Serbian and Bosnian, which share a primary number and stand for none.
inline uint16_t LanguageFamily(uint16_t id) {
  uint16_t primary = static_cast<uint16_t>(id & 0x3FF);
  uint16_t sub = static_cast<uint16_t>(id >> 10);
  if (primary == 0x04) return static_cast<uint16_t>(primary | (sub == 2 || sub == 4 ? 0x400 : 0));
  if (primary == 0x1A) return id;
  return primary;
}

// The languages vpack knows by tag: the kit's and those a publisher may
// add. codePage is the ANSI page of that language's Windows, whose dialog
// font measures its words.
struct Language {
  const char* tag;
  uint16_t id;
  uint16_t codePage;
  const char* name;
};

inline constexpr Language kLanguages[] = {
    {"en", 0x0409, 1252, "English"},
    {"en-GB", 0x0809, 1252, "English (United Kingdom)"},
    {"de", 0x0407, 1252, "German"},
    {"de-AT", 0x0C07, 1252, "German (Austria)"},
    {"de-CH", 0x0807, 1252, "German (Switzerland)"},
    {"fr", 0x040C, 1252, "French"},
    {"fr-CA", 0x0C0C, 1252, "French (Canada)"},
    {"es", 0x0C0A, 1252, "Spanish"},
    {"es-MX", 0x080A, 1252, "Spanish (Mexico)"},
    {"it", 0x0410, 1252, "Italian"},
    {"pt-BR", 0x0416, 1252, "Portuguese (Brazil)"},
    {"pt-PT", 0x0816, 1252, "Portuguese (Portugal)"},
    {"nl", 0x0413, 1252, "Dutch"},
    {"sv", 0x041D, 1252, "Swedish"},
    {"da", 0x0406, 1252, "Danish"},
    {"nb", 0x0414, 1252, "Norwegian (Bokmal)"},
    {"nn", 0x0814, 1252, "Norwegian (Nynorsk)"},
    {"fi", 0x040B, 1252, "Finnish"},
    {"is", 0x040F, 1252, "Icelandic"},
    {"ca", 0x0403, 1252, "Catalan"},
    {"eu", 0x042D, 1252, "Basque"},
    {"id", 0x0421, 1252, "Indonesian"},
    {"ms", 0x043E, 1252, "Malay"},
    {"pl", 0x0415, 1250, "Polish"},
    {"cs", 0x0405, 1250, "Czech"},
    {"sk", 0x041B, 1250, "Slovak"},
    {"hu", 0x040E, 1250, "Hungarian"},
    {"sl", 0x0424, 1250, "Slovenian"},
    {"hr", 0x041A, 1250, "Croatian"},
    {"sr-Latn", 0x081A, 1250, "Serbian (Latin)"},
    {"ro", 0x0418, 1250, "Romanian"},
    {"ru", 0x0419, 1251, "Russian"},
    {"uk", 0x0422, 1251, "Ukrainian"},
    {"bg", 0x0402, 1251, "Bulgarian"},
    {"sr-Cyrl", 0x0C1A, 1251, "Serbian (Cyrillic)"},
    {"el", 0x0408, 1253, "Greek"},
    {"tr", 0x041F, 1254, "Turkish"},
    {"et", 0x0425, 1257, "Estonian"},
    {"lv", 0x0426, 1257, "Latvian"},
    {"lt", 0x0427, 1257, "Lithuanian"},
    {"vi", 0x042A, 1258, "Vietnamese"},
    {"th", 0x041E, 874, "Thai"},
    {"ja", 0x0411, 932, "Japanese"},
    {"zh-CN", 0x0804, 936, "Chinese (Simplified)"},
    {"zh-SG", 0x1004, 936, "Chinese (Singapore)"},
    {"ko", 0x0412, 949, "Korean"},
    {"zh-TW", 0x0404, 950, "Chinese (Traditional)"},
    {"zh-HK", 0x0C04, 950, "Chinese (Hong Kong)"},
};

// The known language of this tag, spelt as the table spells it; null for
// none.
inline const Language* FindLanguage(const char* tag) {
  for (const Language& language : kLanguages) {
    int i = 0;
    while (tag[i] != 0 && tag[i] == language.tag[i]) ++i;
    if (tag[i] == 0 && language.tag[i] == 0) return &language;
  }
  return nullptr;
}

}  // namespace payload
