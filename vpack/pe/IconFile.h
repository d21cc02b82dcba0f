#pragma once
// An icon file (.ico) checked image by image and turned into the icon and
// icon-group resources that Windows shows for an executable.
#include <stdint.h>

#include <vector>

#include "vpack/base/ByteReader.h"

namespace vpack {

struct IconImage {
  uint32_t width;   // in pixels, 1 .. 256
  uint32_t height;
  uint16_t bits;    // colour depth as the image itself states it
  Bytes data;  // a PNG file or a BITMAPINFOHEADER with pixels and mask
};

// Throws Error ("is not a usable icon file: ...") when the directory or an
// image is broken: entries past the end, sizes that disagree with the image,
// images that are neither PNG nor a complete bitmap.
std::vector<IconImage> ReadIconFile(const Bytes& file);

// The icon-group resource's data for images stored as icon resources
// firstId, firstId + 1, ...
Bytes IconGroupData(const std::vector<IconImage>& images, uint16_t firstId);

}  // namespace vpack
