#include "platform/Registry.h"

#include <string.h>
#include <windows.h>

#include "platform/AnsiFolder.h"
#include "platform/ScopedHandle.h"

namespace platform {
namespace {

// Longer than any path the installer writes into a value.
constexpr DWORD kMaxValueChars = 600;

}  // namespace

bool WriteMachineValues(const char* keyPath, const RegistryValue* values, int count) {
  HKEY raw = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &raw,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  ScopedRegistryKey key(raw);
  for (int i = 0; i < count; ++i) {
    const char* text = values[i].text;
    DWORD number = values[i].number;
    if (text == nullptr) {
      RegSetValueExA(key.Get(), values[i].name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    } else {
      RegSetValueExA(key.Get(), values[i].name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                     static_cast<DWORD>(strlen(text) + 1));
    }
  }
  return true;
}

bool ReadMachineString(const char* keyPath, const char* name, char* value, unsigned long size) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
  ScopedRegistryKey key(raw);
  // Read as stored, in UTF-16: a folder the code page cannot hold is no
  // folder the installer can use, not one to be taken for a look-alike.
  wchar_t wideName[64];
  wchar_t wide[kMaxValueChars + 1];
  DWORD type = 0;
  DWORD read = kMaxValueChars * sizeof(wchar_t);
  if (MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, 64) == 0 ||
      RegQueryValueExW(key.Get(), wideName, nullptr, &type, reinterpret_cast<BYTE*>(wide), &read) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  // Stored without its terminator, a value still ends here.
  wide[read / sizeof(wchar_t)] = 0;
  return ConvertExactly(wide, value, static_cast<int>(size));
}

}  // namespace platform
