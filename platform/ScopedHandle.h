#pragma once
// Move-only owners for Win32 handles. Each traits type names the invalid value
// and how the handle is given back to the system.
#include <windows.h>

namespace platform {

template <typename Traits>
class Scoped {
 public:
  using Type = typename Traits::Type;

  Scoped() : value_(Traits::Invalid()) {}
  explicit Scoped(Type value) : value_(value) {}
  ~Scoped() { Reset(); }

  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& other) : value_(other.Release()) {}
  Scoped& operator=(Scoped&& other) {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Type Get() const { return value_; }
  bool Valid() const { return value_ != Traits::Invalid(); }

  // Gives up ownership without closing.
  Type Release() {
    Type value = value_;
    value_ = Traits::Invalid();
    return value;
  }

  void Reset(Type value = Traits::Invalid()) {
    if (Valid()) Traits::Close(value_);
    value_ = value;
  }

 private:
  Type value_;
};

struct FileTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { CloseHandle(h); }
};

// Process and thread handles use null, not INVALID_HANDLE_VALUE, for "none".
struct KernelObjectTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { CloseHandle(h); }
};

struct ModuleTraits {
  using Type = HMODULE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { FreeLibrary(h); }
};

struct RegistryKeyTraits {
  using Type = HKEY;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { RegCloseKey(h); }
};

using ScopedFile = Scoped<FileTraits>;
using ScopedKernelObject = Scoped<KernelObjectTraits>;
using ScopedModule = Scoped<ModuleTraits>;
using ScopedRegistryKey = Scoped<RegistryKeyTraits>;

}  // namespace platform
