#include "tests/support/Installers.h"

#include "tests/support/Payloads.h"
#include "tests/support/Projects.h"
#include "tests/support/TempDir.h"

namespace testing_support {

std::string StubPath() { return MachineUnderTest() == Arch::kX64 ? VDL_STUB_X64 : VDL_STUB_I686; }
std::string StubPathI686() { return VDL_STUB_I686; }
std::string FaultStubPath(Arch arch) { return arch == Arch::kX64 ? VDL_FAULT_STUB_X64 : VDL_FAULT_STUB_I686; }

packager::Bytes ReadBytes(const std::string& path) {
  std::string bytes = ReadFileBytes(path);
  return packager::Bytes(bytes.begin(), bytes.end());
}

bool WriteInstaller(const std::string& path, const std::string& stub, const packager::Bytes& payloadBytes) {
  std::string image = ReadFileBytes(stub);
  if (image.empty()) return false;
  image += Str(payloadBytes);
  return WriteFileBytes(path, image.data(), image.size());
}

bool WriteInstaller(const std::string& path, const std::string& stub, const packager::PayloadBuilder& payload) {
  std::string image = ReadFileBytes(stub);
  if (image.empty()) return false;
  image = InstallerImage(image, payload);
  return WriteFileBytes(path, image.data(), image.size());
}

}  // namespace testing_support
