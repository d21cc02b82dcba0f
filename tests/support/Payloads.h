#pragma once
// Payloads for the tests, laid out by the packager library: a project
// type's settings walked from the installer's own table, the engine's files
// from its list, and a stub with a payload behind it.
#include <stdint.h>

#include <functional>
#include <map>
#include <string>

#include "packager/PayloadBuilder.h"

namespace testing_support {

packager::Bytes B(const std::string& text);
std::string Str(const packager::Bytes& bytes);

// The settings of a project; each type stores those it reads.
struct InstallSettings {
  uint32_t projectType = 2;
  std::string installPath;  // StartupDirectory for type 6
  std::string shortcutName;
  std::string projectName;
  uint8_t checkDx8 = 0;
  uint8_t runAfterInstall = 0;
  bool withRunAfterInstall = true;
  uint8_t doQuitCgr = 0;
  uint8_t doSmallPreview = 0;
  uint8_t winampVersion = 0;
};

// A project of the type with empty texts and zero numbers.
inline InstallSettings SettingsOf(uint32_t projectType) {
  InstallSettings settings;
  settings.projectType = projectType;
  return settings;
}

// ProjectType, then every setting the type reads in the installer's order,
// with the values given.
void AddSettings(packager::PayloadBuilder& payload, const InstallSettings& settings);

// The engine files every installation writes, in the order it writes
// them: written out here, not read from the product's list, which the
// payload and the stub both walk, so that a name dropped or moved there
// fails.
inline constexpr const char* kEngineFileNames[] = {
    "Tessaron.dll",
    "channels\\SaverUnit.dll",
    "channels\\FolderUnit.dll",
    "channels\\LoaderUnit.dll",
    "channels\\3A8F6C21-70DE-4B95-9E14-C2B7580AD3F9.dll",
    "channels\\91D4E0B7-2C5A-4F18-B63E-7A05CF92E14D.dll",
    "channels\\E62B9F03-58C1-47AD-8D70-1F4E6A3BC295.dll",
    "channels\\4F70A3D8-B916-4E2C-A5FB-09D3E7C6118B.dll",
    "VDLStart.vdl",
};

// Every engine file but skip: the DLL and the modules packed with the bytes
// module gives for each name, the start file stored as start.
void AddEngineFiles(packager::PayloadBuilder& payload, const std::function<packager::Bytes(const char*)>& module,
                    const packager::Bytes& start, const char* skip = nullptr);

// The stub's bytes with the payload built for them behind.
std::string InstallerImage(const std::string& stub, const packager::PayloadBuilder& payload);

// The data of the first item of that name, to be changed in place; the
// test fails when there is none.
packager::Bytes& DataOf(packager::PayloadBuilder& payload, const std::string& name);

// Lists more project files after those the payload lists, each stored as
// given (names with ".cgr" are written as stored, the others decoded).
void AddProjectFiles(packager::PayloadBuilder& payload, const std::map<std::string, packager::Bytes>& stored);

// Replaces the data of the named item; false when there is none.
bool ReplaceItem(packager::PayloadBuilder& payload, const std::string& name, const packager::Bytes& data);
bool RemoveItem(packager::PayloadBuilder& payload, const std::string& name, const std::string& type = "APPDATA");

}  // namespace testing_support
