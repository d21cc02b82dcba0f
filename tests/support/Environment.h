#pragma once
// Settings of the process and of Wine that a test changes for its own life.
#include <string>

namespace testing_support {

// Text of the ANSI code page in UTF-16.
std::wstring Wide(const std::string& text);

// Sets an environment variable for the life of the object; a null value
// takes it away.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value);
  // A value the ANSI code page may not hold.
  ScopedEnvironment(const wchar_t* name, const std::wstring& value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  void Set(const std::wstring& name, const wchar_t* value);

  std::wstring name_;
  std::wstring old_;
  bool hadOld_;
};

// Sets the load order of DLLs for one program under Wine for the life of the
// object, through the per-program overrides in the registry (the override
// variable does not reach processes started from inside Wine). dlls: base
// names separated by ';'. The empty order takes them away.
class ScopedDllOverride {
 public:
  ScopedDllOverride(const std::string& program, const std::string& dlls, const std::string& order = "");
  ~ScopedDllOverride();
  ScopedDllOverride(const ScopedDllOverride&) = delete;
  ScopedDllOverride& operator=(const ScopedDllOverride&) = delete;

 private:
  std::string key_;
};

}  // namespace testing_support
