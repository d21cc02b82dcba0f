#pragma once
// Project trees for vpack's tests: a stub, every runtime file a project
// type's flow extracts, and the head of a manifest that packs them with the
// settings the type reads. Tests add their own files below it.
#include <stdint.h>

#include <string>

#include "tests/support/TempDir.h"

namespace testing_support {

// Writes path (folders made as needed) below dir.
void PutFile(const TempDir& dir, const std::string& path, const std::string& bytes);

// The head of a manifest for projectType: stub.exe and the settings the
// type reads (text "x", numbers and flags 0), no files.
std::string ManifestHead(uint32_t projectType);

// ManifestHead and one [[file]] entry per runtime file the type extracts,
// its source below runtime/: enough for a manifest read from its text
// alone, whose sources are never looked at.
std::string RuntimeEntries(uint32_t projectType);

// RuntimeEntries with the setting's line set to "<setting> = <toml>".
std::string RuntimeEntriesWith(uint32_t projectType, const std::string& setting, const std::string& toml);

// Where vpack's messages point for the first what in text, the bytes of a
// manifest read as file: "file:line:column", each counted from 1; a place
// no message gives when text does not hold what.
std::string PlaceIn(const std::string& file, const std::string& text, const std::string& what);

// stub.exe (a StubImage of the variant the type needs, which verify accepts)
// and runtime/ in dir, its programs built for the machine; returns the
// manifest's head: the stub, the type's settings and a [[folder]] entry for
// runtime/. Text settings get "x", numbers and flags 0.
std::string WriteRuntimeProject(const TempDir& dir, uint32_t projectType, uint16_t machine = 0x14C);

}  // namespace testing_support
