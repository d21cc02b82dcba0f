#pragma once
// The fields of the record files as the installer writes them: a text
// field of the installer's fixed width, and a 32-bit number.
#include <stdint.h>

#include <string>

namespace testing_support {

// The text, cut or zero-padded to the field's width; written out here, not
// taken from the installer, so that a wrong width shows.
inline std::string Field(const std::string& text) {
  std::string field = text.substr(0, 259);
  field.resize(259, '\0');
  return field;
}

inline std::string Int(int32_t value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

}  // namespace testing_support
