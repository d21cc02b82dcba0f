#include "tests/support/Environment.h"

#include <windows.h>

namespace testing_support {

std::wstring Wide(const std::string& text) {
  wchar_t wide[4096];
  int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 4096);
  return length > 0 ? wide : L"";
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) {
  Set(Wide(name), value != nullptr ? Wide(value).c_str() : nullptr);
}

ScopedEnvironment::ScopedEnvironment(const wchar_t* name, const std::wstring& value) { Set(name, value.c_str()); }

void ScopedEnvironment::Set(const std::wstring& name, const wchar_t* value) {
  name_ = name;
  wchar_t old[4096];
  DWORD length = GetEnvironmentVariableW(name.c_str(), old, 4096);
  hadOld_ = length > 0 && length < 4096;
  if (hadOld_) old_ = old;
  SetEnvironmentVariableW(name.c_str(), value);
}

ScopedEnvironment::~ScopedEnvironment() { SetEnvironmentVariableW(name_.c_str(), hadOld_ ? old_.c_str() : nullptr); }

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
