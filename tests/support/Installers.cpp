#include "tests/support/Installers.h"

#include "tests/support/TempDir.h"

namespace testing_support {

std::string StubPath() { return VDL_STUB_X64; }
std::string StubPathI686() { return VDL_STUB_I686; }

packager::Bytes ReadBytes(const std::string& path) {
  std::string bytes = ReadFileBytes(path);
  return packager::Bytes(bytes.begin(), bytes.end());
}

bool WriteInstaller(const std::string& path, const std::string& stub, const packager::Bytes& payloadBytes) {
  packager::Bytes image = ReadBytes(stub);
  if (image.empty()) return false;
  image.insert(image.end(), payloadBytes.begin(), payloadBytes.end());
  return WriteFileBytes(path, image.data(), image.size());
}

bool WriteInstaller(const std::string& path, const std::string& stub, const packager::PayloadBuilder& payload) {
  packager::Bytes image = ReadBytes(stub);
  if (image.empty()) return false;
  packager::Bytes tail = payload.Build(static_cast<uint32_t>(image.size()));
  image.insert(image.end(), tail.begin(), tail.end());
  return WriteFileBytes(path, image.data(), image.size());
}

}  // namespace testing_support
