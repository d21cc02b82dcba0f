#include "vpack/read/StoredTexts.h"

#include <stdio.h>

#include "payload/TextItems.h"
#include "vpack/base/ItemIndex.h"
#include "vpack/rules/TextRules.h"

namespace vpack {
namespace {

// The bytes the stub would take, and whether they are what the directory
// says; more than it takes are not kept, so a large damaged item costs no
// memory.
bool ReadText(const InstallerFile& file, int32_t index, std::string& bytes) {
  try {
    uint32_t crc = file.ReadPieces(index, [&bytes](const uint8_t* piece, size_t size) {
      size_t room = payload::kMaxTextBytes + 1 - std::min<size_t>(bytes.size(), payload::kMaxTextBytes + 1);
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

}  // namespace

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
