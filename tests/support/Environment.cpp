#include "tests/support/Environment.h"

#include <windows.h>

namespace testing_support {

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
  char old[4096];
  DWORD length = GetEnvironmentVariableA(name, old, sizeof(old));
  hadOld_ = length > 0 && length < sizeof(old);
  if (hadOld_) old_ = old;
  SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment() { SetEnvironmentVariableA(name_.c_str(), hadOld_ ? old_.c_str() : nullptr); }

ScopedDllOverride::ScopedDllOverride(const std::string& program, const std::string& dlls, const std::string& order)
    : key_("Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides") {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != 0) {
    return;
  }
  size_t start = 0;
  while (start <= dlls.size()) {
    size_t end = dlls.find(';', start);
    if (end == std::string::npos) end = dlls.size();
    std::string dll = dlls.substr(start, end - start);
    if (!dll.empty()) {
      RegSetValueExA(key, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order.c_str()),
                     static_cast<DWORD>(order.size() + 1));
    }
    start = end + 1;
  }
  RegCloseKey(key);
}

ScopedDllOverride::~ScopedDllOverride() { RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }

}  // namespace testing_support
