#pragma once
// A translation file of the kit as the tests read it: each key's text in
// UTF-8, from lines `key = "text"` with TOML's escapes; tables and comments
// are passed over.
#include <map>
#include <string>

namespace testing_support {

// False when the file cannot be read.
bool ReadKitTexts(const std::string& path, std::map<std::string, std::string>* texts);

}  // namespace testing_support
