#include "vpack/pe/VersionResource.h"

namespace vpack {
namespace {

constexpr uint32_t kFixedSignature = 0xFEEF04BD;
constexpr uint32_t kFixedInfoBytes = 52;
constexpr char16_t kTable[] = u"040904B0";      // US English, Unicode
constexpr uint32_t kTranslation = 0x04B00409;  // the same as language, code page

struct Block {
  std::u16string key;
  Bytes value;
  uint16_t valueLength = 0;  // in characters for text, in bytes otherwise
  bool text = false;
  std::vector<Block> children;
};

Bytes Write(const Block& block) {
  Bytes out(6, 0);
  Put16(out, 2, block.valueLength);
  Put16(out, 4, block.text ? 1 : 0);
  for (char16_t c : block.key) Append16(out, c);
  Append16(out, 0);
  PadTo(out, 4);
  out.insert(out.end(), block.value.begin(), block.value.end());
  for (const Block& child : block.children) {
    PadTo(out, 4);
    Bytes bytes = Write(child);
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  if (out.size() > 0xFFFF) throw Error("version information is " + std::to_string(out.size()) + " bytes; at most 65535 fit");
  Put16(out, 0, static_cast<uint16_t>(out.size()));
  return out;
}

Block StringBlock(const std::string& key, const std::string& value) {
  Block block{Utf16FromUtf8(key), {}, 0, true, {}};
  std::u16string text = Utf16FromUtf8(value);
  for (char16_t c : text) Append16(block.value, c);
  Append16(block.value, 0);
  block.valueLength = static_cast<uint16_t>(text.size() + 1);
  return block;
}

Bytes FixedInfo(const VersionInfo& info) {
  Bytes out;
  for (uint32_t value : {kFixedSignature, 0x00010000u,
                         uint32_t{info.fileVersion[0]} << 16 | info.fileVersion[1],
                         uint32_t{info.fileVersion[2]} << 16 | info.fileVersion[3],
                         uint32_t{info.productVersion[0]} << 16 | info.productVersion[1],
                         uint32_t{info.productVersion[2]} << 16 | info.productVersion[3],
                         0x3Fu, 0u,          // flags mask, flags: a release build
                         0x00040004u, 1u,    // for 32-bit Windows, an application
                         0u, 0u, 0u}) {      // no subtype, no date
    Append32(out, value);
  }
  return out;
}

size_t Align4(size_t value) { return (value + 3) / 4 * 4; }

Block Read(const ByteReader& in, size_t at, size_t limit) {
  uint16_t length = in.U16(at);
  if (length < 6 || at + length > limit) in.Fail("has a block that leaves its parent");
  Block block;
  block.valueLength = in.U16(at + 2);
  block.text = in.U16(at + 4) == 1;
  size_t cursor = at + 6;
  for (char16_t c; cursor + 2 <= at + length && (c = in.U16(cursor)) != 0; cursor += 2) block.key.push_back(c);
  size_t value = Align4(cursor + 2);
  size_t valueBytes = block.text ? 2u * block.valueLength : block.valueLength;
  if (value + valueBytes > at + length) in.Fail("has a value that leaves its block");
  block.value = in.Slice(value, valueBytes);
  for (size_t child = Align4(value + valueBytes); child + 6 <= at + length; child = Align4(child + in.U16(child))) {
    block.children.push_back(Read(in, child, at + length));
  }
  return block;
}

std::string TextOf(const Block& block) {
  std::u16string text;
  for (size_t i = 0; i + 1 < block.value.size(); i += 2) {
    char16_t c = static_cast<char16_t>(block.value[i] | block.value[i + 1] << 8);
    if (c == 0) break;
    text.push_back(c);
  }
  return Utf8FromUtf16(text);
}

}  // namespace

Bytes BuildVersionResource(const VersionInfo& info) {
  Block table{kTable, {}, 0, true, {}};
  for (const auto& [key, value] : info.strings) table.children.push_back(StringBlock(key, value));
  Block translation{u"Translation", {}, 4, false, {}};
  Append32(translation.value, kTranslation);
  Block root{u"VS_VERSION_INFO", FixedInfo(info), kFixedInfoBytes, false, {}};
  root.children.push_back(Block{u"StringFileInfo", {}, 0, true, {table}});
  root.children.push_back(Block{u"VarFileInfo", {}, 0, true, {translation}});
  return Write(root);
}

VersionInfo ReadVersionResource(const Bytes& data) {
  ByteReader in(data, "has a broken version resource: it");
  Block root = Read(in, 0, data.size());
  ByteReader fixed(root.value, "has a broken version resource: its fixed part");
  if (root.key != u"VS_VERSION_INFO" || fixed.U32(0) != kFixedSignature) in.Fail("has no fixed part");
  VersionInfo info;
  for (int half = 0; half < 2; ++half) {
    info.fileVersion[2 * half] = fixed.U16(8 + 4 * half + 2);
    info.fileVersion[2 * half + 1] = fixed.U16(8 + 4 * half);
    info.productVersion[2 * half] = fixed.U16(16 + 4 * half + 2);
    info.productVersion[2 * half + 1] = fixed.U16(16 + 4 * half);
  }
  for (const Block& part : root.children) {
    if (part.key != u"StringFileInfo" || part.children.empty()) continue;
    for (const Block& string : part.children.front().children) {
      info.strings.emplace_back(Utf8FromUtf16(string.key), TextOf(string));
    }
  }
  return info;
}

std::string VersionText(const FourPartVersion& version) {
  return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." + std::to_string(version[2]) + "." +
         std::to_string(version[3]);
}

std::u16string Utf16FromUtf8(const std::string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    uint8_t lead = static_cast<uint8_t>(text[i]);
    size_t extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : 9;
    if (extra == 9) throw Error("is not valid UTF-8");
    uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k) {
      if (i + k >= text.size() || (static_cast<uint8_t>(text[i + k]) & 0xC0) != 0x80) throw Error("is not valid UTF-8");
      code = code << 6 | (static_cast<uint8_t>(text[i + k]) & 0x3F);
    }
    static const uint32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
      throw Error("is not valid UTF-8");
    }
    if (code >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    i += extra + 1;
  }
  return out;
}

std::string Utf8FromUtf16(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t code = text[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | code >> 6));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | code >> 12));
      out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | code >> 18));
      out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

}  // namespace vpack
