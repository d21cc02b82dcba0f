#pragma once
// An installer object over a payload the test writes, working in a fresh
// "work" folder, with its message boxes recorded.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestInstaller.h"

class InstallerFixture : public ::testing::Test {
 protected:
  testing_support::TestInstaller& Make(const packager::PayloadBuilder& payload) {
    installer_.reset();  // it holds the payload file open
    EXPECT_TRUE(testing_support::WritePayloadFile(dir_.File("payload.exe"), payload));
    installer_.reset(new testing_support::TestInstaller(dir_.File("payload.exe")));
    work_ = dir_.File("work");
    CreateDirectoryA(work_.c_str(), nullptr);
    installer_->SetWorkFolder(work_);
    messages_.Clear();
    return *installer_;
  }

  testing_support::MessageRecorder messages_;
  testing_support::TempDir dir_;
  std::unique_ptr<testing_support::TestInstaller> installer_;
  std::string work_;
};
