#pragma once
// String values under HKEY_LOCAL_MACHINE.

namespace platform {

struct RegistryString {
  const char* name;
  const char* data;
};

// Creates or opens the key and sets the values (terminator counted); false
// when the key cannot be created or opened. Failed values are not reported.
bool WriteMachineStrings(const char* keyPath, const RegistryString* values, int count);

// A string value of a key, in value (size bytes, terminated); false when
// the key or value is not there, is no string, or does not fit.
bool ReadMachineString(const char* keyPath, const char* name, char* value, unsigned long size);

}  // namespace platform
