#include "vpack/base/SystemPath.h"

namespace vpack {

std::filesystem::path PathOf(const std::string& utf8) { return std::filesystem::u8path(utf8); }

std::string TextOf(const std::filesystem::path& path) { return path.u8string(); }

}  // namespace vpack
