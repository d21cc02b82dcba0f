#include "tests/support/StoredLanguage.h"

#include "payload/PayloadReader.h"

namespace testing_support {

StoredLanguageBlock ReadStoredLanguage(const std::string& installer, const std::string& tag) {
  StoredLanguageBlock block;
  payload::PayloadReader reader(installer.c_str());
  reader.LoadDirectory();
  if (!reader.Contains(tag.c_str(), "LANG")) return block;
  block.present = true;
  if (!reader.ReadItem(tag.c_str(), nullptr, 0, "LANG")) return block;
  const unsigned char* data = reader.Data();
  size_t size = reader.DataSize();
  if (size < 4) return block;
  block.id = static_cast<uint16_t>(data[0] | data[1] << 8);
  block.flags = static_cast<uint16_t>(data[2] | data[3] << 8);
  size_t at = 4;
  while (at < size) {
    if (size - at < 3) return block;
    size_t length = data[at + 1] | data[at + 2] << 8;
    if (size - at - 3 < length) return block;
    block.texts[data[at]] = std::string(reinterpret_cast<const char*>(data + at + 3), length);
    at += 3 + length;
  }
  block.whole = true;
  return block;
}

}  // namespace testing_support
