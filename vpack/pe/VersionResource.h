#pragma once
// The version resource (VS_VERSIONINFO) that Explorer's Properties and
// reputation checks read: fixed version numbers and US-English, Unicode
// strings, written and read back.
#include <stdint.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "vpack/base/ByteReader.h"

namespace vpack {

using FourPartVersion = std::array<uint16_t, 4>;

struct VersionInfo {
  FourPartVersion fileVersion{};
  FourPartVersion productVersion{};
  // Key ("CompanyName", ...) and UTF-8 value, in the order written.
  std::vector<std::pair<std::string, std::string>> strings;
};

// Throws Error when the strings make the resource larger than its 16-bit
// lengths can state.
Bytes BuildVersionResource(const VersionInfo& info);
// Throws Error ("has a broken version resource") on a malformed one.
VersionInfo ReadVersionResource(const Bytes& data);

std::string VersionText(const FourPartVersion& version);  // "1.2.3.4"

// Throws Error ("is not valid UTF-8") rather than guessing.
std::u16string Utf16FromUtf8(const std::string& text);
std::string Utf8FromUtf16(const std::u16string& text);

}  // namespace vpack
