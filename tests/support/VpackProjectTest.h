#pragma once
// A vpack test over a runnable project: the runtime in a folder of its own,
// files of each kind, and the manifests and installers made from them, for
// the tests of pack, verify and list alike.
#include <stdint.h>

#include <string>
#include <vector>

#include "packager/PayloadBuilder.h"
#include "tests/support/PackProject.h"
#include "tests/support/Payloads.h"
#include "tests/support/StubImage.h"
#include "tests/support/VpackRun.h"

namespace testing_support {

class VpackProjectTest : public VpackFolderTest {
 protected:
  void SetUp() override {
    runtime_ = WriteRuntimeProject(dir_, 1);
    stub_ = ReadFileBytes(dir_.File("stub.exe"));
    Put("start.vdl", "start file text");
    Put("loader.dll", loader_);
    Put("scene.txt", "scene one");
    Put("music.cgr", "raw bytes");
  }

  static std::string Manifest(const std::string& settings, const std::string& files) {
    return "stub = \"stub.exe\"\n[settings]\n" + settings + files;
  }

  // An installer written without vpack's checks, for what verify must catch.
  void PutInstaller(const std::string& name, const packager::PayloadBuilder& builder) {
    Put(name, InstallerImage(stub_, builder));
  }

  // The project type and the three lists, the project list naming projectFiles:
  // what verify reads first, for installers vpack would not write.
  static packager::PayloadBuilder ListsOnly(uint32_t projectType, const std::vector<std::string>& projectFiles) {
    packager::PayloadBuilder builder;
    builder.AddU32("ProjectType", projectType);
    builder.AddList(packager::ListKind::kChannels, {});
    builder.AddList(packager::ListKind::kChannelModules, {});
    builder.AddList(packager::ListKind::kProjectFiles, projectFiles);
    return builder;
  }

  static std::string File(const std::string& name, const std::string& source, const std::string& extra = "") {
    return "[[file]]\nname = '" + name + "'\nsource = \"" + source + "\"\n" + extra;
  }

  // A project the installer can run: the runtime from a folder, and files of
  // each kind, each store given.
  std::string GoodManifest() {
    return runtime_ + File("channels\\Lights.dll", "loader.dll", "list = \"channel-modules\"\n") +
           File("scene.vdl", "scene.txt", "store = \"engine\"\nlist = \"project\"\n") +
           File("music.cgr", "music.cgr", "store = \"engine\"\nlist = \"project\"\n");
  }

  std::string runtime_;
  std::string stub_;
  // A channel module: the engine loads it as a DLL of the stub's machine.
  std::string loader_ = ProgramImage(kI386, true, 5000);
};

}  // namespace testing_support
