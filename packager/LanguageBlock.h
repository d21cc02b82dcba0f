#pragma once
// One language's texts as an installer carries them (payload/Languages.h).
#include <stdint.h>

#include <map>
#include <string>

#include "packager/PayloadBuilder.h"
#include "payload/Texts.h"

namespace packager {

// texts in UTF-8 by text, in the table's order; each at most 65,535 bytes.
Bytes LanguageBlock(uint16_t id, bool isDefault, const std::map<texts::Id, std::string>& texts);

}  // namespace packager
