#pragma once
#include <stdint.h>

namespace payload {

// Growable array of untyped pointers. It owns its array, not the objects the
// entries point to: an owner of heap objects frees them before Clear.
class PointerList {
 public:
  PointerList() {}
  virtual ~PointerList();

  PointerList(const PointerList&) = delete;
  PointerList& operator=(const PointerList&) = delete;

  // Index of the new entry, or -1 when the array could not grow.
  int32_t Push(void* pointer);
  void* Get(int32_t index) const;
  void SetAt(void* pointer, int32_t index);
  int32_t Count() const { return count_; }
  int32_t Capacity() const { return capacity_; }
  bool Resize(int32_t n);
  void Grow(int32_t request);
  void Clear();

 private:
  void** array_ = nullptr;
  int32_t count_ = 0;
  int32_t capacity_ = 0;
};

}  // namespace payload
