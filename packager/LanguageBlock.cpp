#include "packager/LanguageBlock.h"

#include "payload/Languages.h"

namespace packager {
namespace {

void Put16(Bytes& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>(value >> 8 & 0xFF));
}

}  // namespace

Bytes LanguageBlock(uint16_t id, bool isDefault, const std::map<texts::Id, std::string>& texts) {
  Bytes block;
  Put16(block, id);
  Put16(block, isDefault ? payload::kLanguageDefault : 0);
  for (const auto& [text, utf8] : texts) {
    block.push_back(static_cast<uint8_t>(text));
    Put16(block, static_cast<uint32_t>(utf8.size()));
    block.insert(block.end(), utf8.begin(), utf8.end());
  }
  return block;
}

}  // namespace packager
