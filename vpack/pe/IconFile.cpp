#include "vpack/pe/IconFile.h"

#include <string>

namespace vpack {
namespace {

constexpr size_t kDirectoryHeader = 6;
constexpr size_t kFileEntry = 16;
constexpr size_t kGroupEntry = 14;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian32(const Bytes& data, size_t at) {
  return uint32_t{data[at]} << 24 | uint32_t{data[at + 1]} << 16 | uint32_t{data[at + 2]} << 8 | data[at + 3];
}

bool IsPng(const Bytes& data) {
  return data.size() >= sizeof(kPngSignature) && std::equal(kPngSignature, kPngSignature + 8, data.begin());
}

// The header chunk follows the signature: width, height, depth, colour type.
void CheckPng(const ByteReader& in, IconImage* image) {
  const Bytes& data = image->data;
  if (data.size() < 33 || BigEndian32(data, 12) != 0x49484452) in.Fail("has a PNG image without its header");
  if (BigEndian32(data, 16) != image->width || BigEndian32(data, 20) != image->height) {
    in.Fail("has a PNG image whose size differs from its entry");
  }
  static const uint8_t kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
  uint8_t type = data[25];
  if (type > 6 || kChannels[type] == 0) in.Fail("has a PNG image of an unknown colour type");
  image->bits = static_cast<uint16_t>(data[24] * kChannels[type]);
}

// A bitmap image is stored at twice its height: colours, then a 1-bit mask.
void CheckBitmap(const ByteReader& in, IconImage* image) {
  ByteReader bitmap(image->data, "");
  if (!bitmap.Holds(0, 40) || bitmap.U32(0) < 40) in.Fail("has an image that is neither PNG nor a bitmap");
  int32_t width = static_cast<int32_t>(bitmap.U32(4)), height = static_cast<int32_t>(bitmap.U32(8));
  uint16_t bits = bitmap.U16(14);
  if (width != static_cast<int32_t>(image->width) || height != 2 * static_cast<int32_t>(image->height)) {
    in.Fail("has a bitmap whose size differs from its entry");
  }
  if (bitmap.U16(12) != 1 || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) {
    in.Fail("has a bitmap of an unsupported colour depth");
  }
  uint64_t colours = bits <= 8 ? (bitmap.U32(32) != 0 ? bitmap.U32(32) : 1u << bits) : 0;
  uint64_t row = (uint64_t{image->width} * bits + 31) / 32 * 4, maskRow = (image->width + 31) / 32 * 4;
  uint64_t needed = bitmap.U32(0) + colours * 4 + (row + maskRow) * image->height;
  if (image->data.size() < needed) in.Fail("has a bitmap shorter than its pixels and mask");
  image->bits = bits;
}

}  // namespace

std::vector<IconImage> ReadIconFile(const Bytes& file) {
  ByteReader in(file, "is not a usable icon file: it");
  if (!in.Holds(0, kDirectoryHeader) || in.U16(0) != 0 || in.U16(2) != 1) in.Fail("has no icon header");
  uint16_t count = in.U16(4);
  if (count == 0) in.Fail("holds no images");
  std::vector<IconImage> images;
  for (uint16_t i = 0; i < count; ++i) {
    size_t entry = kDirectoryHeader + i * kFileEntry;
    in.Need(entry, kFileEntry);
    uint32_t size = in.U32(entry + 8), offset = in.U32(entry + 12);
    if (size == 0 || offset < kDirectoryHeader + count * kFileEntry || !in.Holds(offset, size)) {
      in.Fail("has image " + std::to_string(i + 1) + " outside the file");
    }
    IconImage image{in.U8(entry) == 0 ? 256u : in.U8(entry), in.U8(entry + 1) == 0 ? 256u : in.U8(entry + 1), 0,
                    in.Slice(offset, size)};
    IsPng(image.data) ? CheckPng(in, &image) : CheckBitmap(in, &image);
    images.push_back(std::move(image));
  }
  return images;
}

Bytes IconGroupData(const std::vector<IconImage>& images, uint16_t firstId) {
  Bytes out(kDirectoryHeader + kGroupEntry * images.size(), 0);
  Put16(out, 2, 1);
  Put16(out, 4, static_cast<uint16_t>(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    const IconImage& image = images[i];
    size_t at = kDirectoryHeader + kGroupEntry * i;
    out[at] = static_cast<uint8_t>(image.width & 0xFF);  // 256 is written as 0
    out[at + 1] = static_cast<uint8_t>(image.height & 0xFF);
    out[at + 2] = static_cast<uint8_t>(image.bits < 8 ? 1u << image.bits : 0);
    Put16(out, at + 4, 1);
    Put16(out, at + 6, image.bits);
    Put32(out, at + 8, static_cast<uint32_t>(image.data.size()));
    Put16(out, at + 12, static_cast<uint16_t>(firstId + i));
  }
  return out;
}

}  // namespace vpack
