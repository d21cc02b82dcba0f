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

}  // namespace platform
