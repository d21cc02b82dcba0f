#include "vpack/ZlibCheck.h"

#include <zlib.h>

namespace vpack {
namespace {

uint32_t StatedSize(const packager::Bytes& stored) {
  size_t n = stored.size();
  return stored[n - 4] | (stored[n - 3] << 8) | (stored[n - 2] << 16) | (static_cast<uint32_t>(stored[n - 1]) << 24);
}

// Inflates into a scratch buffer and counts; -1 when the stream is damaged
// or does not end within the data.
int64_t InflatedSize(const uint8_t* data, size_t size, std::string* why) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) {
    *why = "zlib cannot start";
    return -1;
  }
  stream.next_in = const_cast<uint8_t*>(data);
  stream.avail_in = static_cast<uInt>(size);
  uint8_t scratch[64 * 1024];
  int result = Z_OK;
  int64_t total = 0;
  while (result == Z_OK) {
    stream.next_out = scratch;
    stream.avail_out = sizeof(scratch);
    result = inflate(&stream, Z_NO_FLUSH);
    total += static_cast<int64_t>(sizeof(scratch) - stream.avail_out);
  }
  if (result != Z_STREAM_END) *why = stream.msg != nullptr ? stream.msg : "the stream is cut short";
  inflateEnd(&stream);
  return result == Z_STREAM_END ? total : -1;
}

}  // namespace

std::string ZlibProblem(const packager::Bytes& stored) {
  if (stored.size() < 4) return "is too short for a zlib item";
  std::string why;
  int64_t inflated = InflatedSize(stored.data(), stored.size() - 4, &why);
  if (inflated < 0) return "does not inflate (" + why + ")";
  uint32_t stated = StatedSize(stored);
  if (inflated != stated) {
    return "inflates to " + std::to_string(inflated) + " bytes, not its stated " + std::to_string(stated);
  }
  return std::string();
}

}  // namespace vpack
