#pragma once
// Releases a COM interface when it goes. Declared after whatever the
// interface comes from (a module, an initialised COM library), so that it is
// released before that goes.
namespace platform {

template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p != nullptr) p->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  // For the calls that hand out an interface.
  void** Out() { return reinterpret_cast<void**>(&p); }

  T* p = nullptr;
};

}  // namespace platform
