#pragma once
// Bounds-checked access to the binary formats vpack rewrites (Windows
// programs, resources, icons): every read of an untrusted file goes through
// here, so that a field that points past the end becomes one error instead
// of a stray read. The byte order is the format's (payload/LittleEndian.h).
#include <stdint.h>

#include <string>
#include <vector>

#include "packager/PayloadBuilder.h"
#include "payload/LittleEndian.h"
#include "vpack/base/Error.h"

namespace vpack {

// One name for bytes in vpack and the packager library.
using packager::Bytes;

class ByteReader {
 public:
  // what names the data in the error, for example "icon file".
  ByteReader(const Bytes& bytes, std::string what) : bytes_(bytes), what_(std::move(what)) {}

  bool Holds(uint64_t offset, uint64_t count) const { return offset <= bytes_.size() && count <= bytes_.size() - offset; }
  void Need(uint64_t offset, uint64_t count) const {
    if (!Holds(offset, count)) throw Error(what_ + " is cut short");
  }
  uint8_t U8(uint64_t at) const { return Need(at, 1), bytes_[at]; }
  uint16_t U16(uint64_t at) const { return Need(at, 2), static_cast<uint16_t>(bytes_[at] | bytes_[at + 1] << 8); }
  uint32_t U32(uint64_t at) const { return Need(at, 4), payload::ReadLittleEndian32(&bytes_[at]); }
  Bytes Slice(uint64_t at, uint64_t count) const {
    Need(at, count);
    return Bytes(bytes_.begin() + at, bytes_.begin() + at + count);
  }
  [[noreturn]] void Fail(const std::string& problem) const { throw Error(what_ + " " + problem); }

 private:
  const Bytes& bytes_;
  std::string what_;
};

inline void Put16(Bytes& out, size_t at, uint16_t value) {
  out[at] = static_cast<uint8_t>(value);
  out[at + 1] = static_cast<uint8_t>(value >> 8);
}
inline void Put32(Bytes& out, size_t at, uint32_t value) { payload::PutLittleEndian32(&out[at], value); }
inline void Append16(Bytes& out, uint16_t value) {
  out.resize(out.size() + 2);
  Put16(out, out.size() - 2, value);
}
inline void Append32(Bytes& out, uint32_t value) {
  out.resize(out.size() + 4);
  Put32(out, out.size() - 4, value);
}
inline void PadTo(Bytes& out, size_t alignment) {
  out.resize((out.size() + alignment - 1) / alignment * alignment, 0);
}

}  // namespace vpack
