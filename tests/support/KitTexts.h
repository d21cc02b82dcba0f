#pragma once
// A translation file of the kit as the tests read it: each key's text in
// UTF-8, from lines `key = "text"` with TOML's escapes; tables and comments
// are passed over.
#include <map>
#include <string>

#include "payload/Texts.h"

namespace testing_support {

// False when the file cannot be read.
bool ReadKitTexts(const std::string& path, std::map<std::string, std::string>* texts);

// The texts of the kit's file for a language, by text (keys of no text
// left out); empty when the file cannot be read.
std::map<texts::Id, std::string> KitWords(const std::string& folder, const std::string& tag);

}  // namespace testing_support
