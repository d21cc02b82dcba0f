#pragma once
// What an installation leaves in the system, read back the way the shell and
// the system read it: shell links, machine registry values, record files.
#include <stdint.h>

#include <string>
#include <vector>

namespace testing_support {

struct LinkFacts {
  bool read = false;
  std::string target;
  std::string arguments;
  std::string workingFolder;
  std::string description;
  std::string iconLocation;
};

LinkFacts ReadShellLink(const std::string& path);

// The string value under HKEY_LOCAL_MACHINE, or "<missing>". view32: as a
// 32-bit program sees the registry (64-bit Windows keeps its keys apart).
std::string MachineString(const std::string& keyPath, const std::string& value, bool view32 = false);
// A DWORD value; -1 when it is missing or of another type.
int64_t MachineNumber(const std::string& keyPath, const std::string& value, bool view32 = false);
bool MachineKeyExists(const std::string& keyPath, bool view32 = false);
void DeleteMachineKey(const std::string& keyPath, bool view32 = false);

// The default value of a key under HKEY_CLASSES_ROOT, made with its key;
// and the key's removal with everything below it.
// Both in the registry view of 64-bit programs and in that of 32-bit ones.
bool SetClassesRootDefault(const std::string& keyPath, const std::string& value);
void DeleteClassesRootTree(const std::string& keyPath);

// The system folder as a 64-bit or (view32) a 32-bit program sees it.
std::string SystemFolder(bool view32 = false);

// The Programs folder of this user's Start menu.
std::string ProgramsFolder();

}  // namespace testing_support
