// Writes a few well-formed payloads as the fuzzer's starting corpus.
#include <string>

#include "packager/EngineFormat.h"
#include "packager/PayloadBuilder.h"
#include "tests/support/Payloads.h"
#include "tests/support/TempDir.h"

namespace {

void Write(const std::string& path, const packager::PayloadBuilder& payload, uint32_t stubSize) {
  std::string image = testing_support::InstallerImage(std::string(stubSize, 'M'), payload);
  testing_support::WriteFileBytes(path, image.data(), image.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::string dir = argv[1];
  packager::PayloadBuilder minimal;
  minimal.AddU32("ProjectType", 2);
  Write(dir + "/minimal", minimal, 0);

  packager::PayloadBuilder full;
  full.AddU32("ProjectType", 1);
  full.AddFlag("CheckDx8", 1);
  full.AddText("ProjectName", "Tour");
  full.AddList(packager::ListKind::kChannels, {"\\channels\\a.dll"});
  full.AddList(packager::ListKind::kChannelModules, {});
  full.AddList(packager::ListKind::kProjectFiles, {"b.vdl", "c.cgr"});
  full.AddPacked("Tessaron.dll", packager::Bytes(300, 'T'));
  full.AddRaw("b.vdl", packager::EngineEncode(packager::Bytes(50, 'b')));
  full.AddRaw("c.cgr", packager::Bytes{});
  Write(dir + "/full", full, 16);
  return 0;
}
