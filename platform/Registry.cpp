#include "platform/Registry.h"

#include <string.h>
#include <windows.h>

#include "platform/ScopedHandle.h"

namespace platform {

bool WriteMachineStrings(const char* keyPath, const RegistryString* values, int count) {
  HKEY raw = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &raw,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  ScopedRegistryKey key(raw);
  for (int i = 0; i < count; ++i) {
    const char* data = values[i].data;
    RegSetValueExA(key.Get(), values[i].name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                   static_cast<DWORD>(strlen(data) + 1));
  }
  return true;
}

bool ReadMachineString(const char* keyPath, const char* name, char* value, unsigned long size) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
  ScopedRegistryKey key(raw);
  DWORD type = 0;
  DWORD read = size - 1;
  if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &read) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  // Stored without its terminator, a value still ends here.
  value[read < size ? read : size - 1] = '\0';
  return true;
}

}  // namespace platform
