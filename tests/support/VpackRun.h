#pragma once
// Runs the real vpack program in a folder, as its users do. Header only: the
// program's path is known to the host tests' build (VDL_VPACK_PATH).
#include <stdlib.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/PackProject.h"
#include "tests/support/TempDir.h"

namespace testing_support {

struct VpackOutcome {
  int status;
  std::string out;
  std::string err;
};

inline VpackOutcome RunVpack(const TempDir& dir, const std::string& arguments) {
  std::string out = dir.File("out.log"), err = dir.File("err.log");
  std::string command = "cd '" + dir.Path() + "' && " VDL_VPACK_PATH " " + arguments + " >'" + out + "' 2>'" + err + "'";
  int status = system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(out), ReadFileBytes(err)};
}

// A test with a project folder of its own, which it runs vpack in.
class VpackFolderTest : public ::testing::Test {
 protected:
  // Writes path (folders made as needed) below the folder.
  void Put(const std::string& path, const std::string& bytes) { PutFile(dir_, path, bytes); }
  VpackOutcome Vpack(const std::string& arguments) { return RunVpack(dir_, arguments); }

  TempDir dir_;
};

}  // namespace testing_support
