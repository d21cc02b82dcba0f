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
