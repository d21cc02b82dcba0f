#include "payload/PointerList.h"

#include <stdlib.h>

namespace payload {

PointerList::~PointerList() { Clear(); }

void PointerList::Grow(int32_t request) {
  if (request < -1) request = -1;
  int64_t base = request == -1 ? (capacity_ < 0 ? 0 : capacity_) : request;
  // trunc(1.25 * base + 32), kept exact in integers for every base.
  int64_t wanted = base + base / 4 + 32;
  if (wanted > 0x7FFFFFFF / static_cast<int64_t>(sizeof(void*))) return;
  void* grown = realloc(array_, static_cast<size_t>(wanted) * sizeof(void*));
  if (grown == nullptr) return;
  array_ = static_cast<void**>(grown);
  capacity_ = static_cast<int32_t>(wanted);
}

int32_t PointerList::Push(void* pointer) {
  if (count_ >= capacity_) Grow(-1);
  if (count_ >= capacity_) return -1;
  array_[count_] = pointer;
  return count_++;
}

void* PointerList::Get(int32_t index) const {
  if (index < 0 || index >= count_) return nullptr;
  return array_[index];
}

void PointerList::SetAt(void* pointer, int32_t index) {
  if (index < 0) return;
  if (index >= count_ && (index == 0x7FFFFFFF || !Resize(index + 1))) return;
  array_[index] = pointer;
}

bool PointerList::Resize(int32_t n) {
  if (n < 0) return false;
  if (n >= capacity_ - 1) Grow(n);
  if (n >= capacity_) return false;
  for (int32_t i = count_; i < n; ++i) array_[i] = nullptr;
  count_ = n;
  return true;
}

void PointerList::Clear() {
  free(array_);
  array_ = nullptr;
  count_ = 0;
  capacity_ = 0;
}

}  // namespace payload
