#pragma once
// Settings of the process and of Wine that a test changes for its own life.
#include <string>

namespace testing_support {

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::string old_;
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
