#include "packager/EngineFormat.h"

#include <string.h>
#include <zlib.h>

namespace packager {

Bytes EngineEncode(const Bytes& plain) {
  Bytes out(kEngineTag, kEngineTag + 4);
  PutU32(out, static_cast<uint32_t>(plain.size()));
  uLongf packedSize = compressBound(static_cast<uLong>(plain.size()));
  size_t head = out.size();
  out.resize(head + packedSize);
  compress2(out.data() + head, &packedSize, plain.data(), static_cast<uLong>(plain.size()), Z_BEST_COMPRESSION);
  out.resize(head + packedSize);
  return out;
}

bool EngineDecode(const uint8_t* data, size_t size, Bytes* plain) {
  if (size < 8 || memcmp(data, kEngineTag, 4) != 0) return false;
  uint32_t decoded = data[4] | (data[5] << 8) | (data[6] << 16) | (static_cast<uint32_t>(data[7]) << 24);
  plain->assign(decoded, 0);
  uLongf got = decoded;
  int result = uncompress(plain->data(), &got, data + 8, static_cast<uLong>(size - 8));
  return result == Z_OK && got == decoded;
}

}  // namespace packager
