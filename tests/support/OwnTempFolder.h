#pragma once
// A test whose installer runs get a temporary folder of their own (TMP and
// TEMP) and one log for the stand-in engine and viewer together, so that
// the order of their calls shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/Environment.h"
#include "tests/support/TempDir.h"

namespace testing_support {

class OwnTempFolderTest : public ::testing::Test {
 protected:
  OwnTempFolderTest()
      : temp_(dir_.File("temp")), log_(dir_.File("calls.log")), tmp_("TMP", temp_.c_str()),
        tempVariable_("TEMP", temp_.c_str()), engineLog_("VDL_ENGINE_LOG", log_.c_str()),
        viewerLog_("VDL_VIEWER_LOG", log_.c_str()) {
    CreateDirectoryA(temp_.c_str(), nullptr);
  }

  TempDir dir_;
  std::string temp_, log_;
  ScopedEnvironment tmp_, tempVariable_, engineLog_, viewerLog_;
};

}  // namespace testing_support
