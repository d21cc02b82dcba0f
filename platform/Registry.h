#pragma once
// Values under HKEY_LOCAL_MACHINE.
#include <stdint.h>

namespace platform {

// A string, or where text is null a DWORD of number.
struct RegistryValue {
  const char* name;
  const char* text;
  uint32_t number;
};

// Creates or opens the key and sets the values (a string's terminator
// counted); false when the key cannot be created or opened. Failed values
// are not reported.
bool WriteMachineValues(const char* keyPath, const RegistryValue* values, int count);

// A string value of a key, in value (size bytes, terminated); false when
// the key or value is not there, is no string, or does not fit.
bool ReadMachineString(const char* keyPath, const char* name, char* value, unsigned long size);

}  // namespace platform
