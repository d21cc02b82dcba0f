#include "vpack/read/StoredTexts.h"

#include <stdio.h>

#include "payload/Languages.h"
#include "payload/TextItems.h"
#include "vpack/base/ItemIndex.h"
#include "vpack/rules/TextRules.h"

namespace vpack {
namespace {

// The bytes the stub would take, and whether they are what the directory
// says; more than it takes are not kept, so a large damaged item costs no
// memory.
bool ReadText(const InstallerFile& file, int32_t index, std::string& bytes, size_t most = payload::kMaxTextBytes) {
  try {
    uint32_t crc = file.ReadPieces(index, [&bytes, most](const uint8_t* piece, size_t size) {
      size_t room = most + 1 - std::min<size_t>(bytes.size(), most + 1);
      bytes.append(reinterpret_cast<const char*>(piece), std::min(size, room));
    });
    return crc == file.Entry(index).crc;
  } catch (const Error&) {
    return false;
  }
}

StoredText ReadStoredText(const InstallerFile& file, int32_t index, const CodePage& page) {
  StoredText stored{index, std::nullopt, true, std::string(), std::string()};
  texts::Id id;
  if (!payload::TextOfItem(file.Entry(index).name, &id)) {
    stored.problem = "a name that is no text's number: the installer passes it over";
    return stored;
  }
  stored.id = id;
  std::string bytes;
  stored.intact = ReadText(file, index, bytes);
  if (!stored.intact) {
    stored.problem = "damaged: the installer shows the English";
    return stored;
  }
  stored.text = ShownText(page, bytes, stored.problem);
  if (stored.problem.empty()) stored.problem = TranslationProblem(id, stored.text);
  if (!stored.problem.empty()) stored.text.clear();
  return stored;
}

uint16_t Read16(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8);
}

// The texts as the stub walks them: a text running past the block's end
// ends the walk, as it does the stub's.
void ReadBlock(const std::string& bytes, StoredLanguage& language) {
  size_t at = payload::kLanguageHead;
  while (at + payload::kLanguageTextHead <= bytes.size()) {
    uint8_t number = static_cast<uint8_t>(bytes[at]);
    size_t length = Read16(bytes, at + 1);
    at += payload::kLanguageTextHead;
    if (length > bytes.size() - at) {
      language.problem = "a text runs past the block's end: the installer shows the texts before it";
      return;
    }
    StoredText text{static_cast<int32_t>(language.texts.size()), std::nullopt, true, std::string(), std::string()};
    std::string stored = bytes.substr(at, length);
    at += length;
    if (number >= texts::kTextCount) {
      text.problem = "number " + std::to_string(number) + " is no text's: the installer passes it over";
    } else {
      text.id = static_cast<texts::Id>(number);
      if (length > payload::kMaxTextBytes) text.problem = "longer than the installer takes: it shows the English";
      if (text.problem.empty() && InvalidUtf8At(stored) != std::string::npos) {
        text.problem = "not UTF-8: the installer shows the English";
      }
      if (text.problem.empty()) text.text = stored;
      if (text.problem.empty()) text.problem = TranslationProblem(*text.id, text.text);
      if (!text.problem.empty()) text.text.clear();
    }
    language.texts.push_back(std::move(text));
  }
}

}  // namespace

std::vector<StoredLanguage> StoredLanguages(const InstallerFile& file) {
  std::vector<StoredLanguage> languages;
  for (int32_t i = 0; i < file.Count(); ++i) {
    if (!SameItemName(file.Entry(i).type, payload::kTypeLanguage)) continue;
    StoredLanguage language;
    language.index = i;
    language.tag = file.Entry(i).name;
    std::string bytes;
    language.intact = ReadText(file, i, bytes, payload::kMaxLanguageBytes);
    if (!language.intact) {
      language.problem = "damaged: the installer shows another language or the English";
    } else if (bytes.size() > payload::kMaxLanguageBytes || bytes.size() < payload::kLanguageHead) {
      language.problem = bytes.size() < payload::kLanguageHead ? "too short for its head: the installer passes it over"
                                                               : "larger than the installer takes: it shows the English";
    } else {
      language.id = Read16(bytes, 0);
      language.isDefault = (Read16(bytes, 2) & payload::kLanguageDefault) != 0;
      ReadBlock(bytes, language);
    }
    languages.push_back(std::move(language));
  }
  return languages;
}

std::vector<StoredText> StoredTexts(const InstallerFile& file, const CodePage& page) {
  std::vector<StoredText> texts;
  for (int32_t i = 0; i < file.Count(); ++i) {
    // The log's choice is no text.
    if (SameItemName(file.Entry(i).type, payload::kTypeText) && !SameItemName(file.Entry(i).name, payload::kLogItem)) {
      texts.push_back(ReadStoredText(file, i, page));
    }
  }
  return texts;
}

}  // namespace vpack
