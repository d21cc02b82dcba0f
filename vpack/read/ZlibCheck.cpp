#include "vpack/read/ZlibCheck.h"

#include "payload/Inflate.h"
#include "payload/ItemLayout.h"

namespace vpack {

std::string ZlibProblem(const packager::Bytes& stored, packager::Bytes* unpacked) {
  uint32_t stated = 0;
  if (stored.size() < 4) return "is too short for a zlib item";
  uint32_t size = static_cast<uint32_t>(stored.size());
  if (!payload::ZlibItemSize(stored.data(), size, &stated)) {
    return "states " + std::to_string(stated) + " unpacked bytes, more than its stream can hold";
  }
  packager::Bytes out(stated);
  size_t written = 0;
  if (!payload::InflateZlib(stored.data(), size - 4, out.data(), out.size(), &written)) {
    return "does not inflate to its stated " + std::to_string(stated) + " bytes";
  }
  if (written != stated) {
    return "inflates to " + std::to_string(written) + " bytes, not its stated " + std::to_string(stated);
  }
  if (unpacked != nullptr) *unpacked = std::move(out);
  return std::string();
}

}  // namespace vpack
