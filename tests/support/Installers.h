#pragma once
// Installers for the tests: a stub's bytes followed by a payload.
#include <string>

#include "packager/PayloadBuilder.h"
#include "tests/support/Projects.h"

namespace testing_support {

// The stubs under test, in their Windows form.
std::string StubPath();      // the machine under test's (Projects.h): x86_64 unless told
std::string StubPathI686();  // the release build
// The test variant with the fault seam (tests/seam/FaultSeam.h), for a machine.
std::string FaultStubPath(Arch arch);

packager::Bytes ReadBytes(const std::string& path);
// Writes stub + payload to path; false when the stub cannot be read or the
// file cannot be written.
bool WriteInstaller(const std::string& path, const std::string& stub, const packager::PayloadBuilder& payload);
bool WriteInstaller(const std::string& path, const std::string& stub, const packager::Bytes& payloadBytes);

}  // namespace testing_support
