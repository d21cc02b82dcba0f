#include "platform/PathSet.h"

#include <stdlib.h>
#include <string.h>

namespace platform {
namespace {

// Room for any path the installation records, and for what is compared
// against it.
constexpr int kKeyChars = 2 * MAX_PATH;

uint32_t Hash(const wchar_t* key, int length) {
  uint32_t hash = 2166136261u;
  for (int i = 0; i < length; ++i) hash = (hash ^ key[i]) * 16777619u;
  // 0 marks an empty slot.
  return hash != 0 ? hash : 1;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

int PathKey(const char* path, wchar_t* key, int size, bool upper) {
  int count = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, key, size);
  if (count <= 0) return -1;
  int length = 0;
  for (int i = 0; key[i] != 0; ++i) {
    wchar_t c = IsSeparator(key[i]) ? L'\\' : key[i];
    // "\\server": the one place two separators in a row mean something.
    if (c == L'\\' && length > 1 && key[length - 1] == L'\\') continue;
    key[length++] = c;
  }
  if (length > 1 && key[length - 1] == L'\\') --length;
  key[length] = 0;
  if (upper && length > 0) CharUpperBuffW(key, static_cast<DWORD>(length));
  return length;
}

bool KeyUnder(const wchar_t* key, int keyLength, const wchar_t* base, int baseLength) {
  if (baseLength <= 0 || keyLength < baseLength || memcmp(key, base, baseLength * sizeof(wchar_t)) != 0) return false;
  return keyLength == baseLength || key[baseLength] == L'\\';
}

PathSet::~PathSet() { free(slots_); }

PathSet::Slot* PathSet::Find(const wchar_t* key, int length, uint32_t hash) const {
  wchar_t other[kKeyChars];
  for (uint32_t i = hash & (capacity_ - 1);; i = (i + 1) & (capacity_ - 1)) {
    Slot* slot = slots_ + i;
    if (slot->hash == 0) return slot;
    if (slot->hash == hash && PathKey(slot->path, other, kKeyChars, true) == length &&
        memcmp(other, key, length * sizeof(wchar_t)) == 0) {
      return slot;
    }
  }
}

bool PathSet::Grow() {
  uint32_t capacity = capacity_ == 0 ? 256 : 2 * capacity_;
  Slot* slots = static_cast<Slot*>(malloc(capacity * sizeof(Slot)));
  if (slots == nullptr) return false;
  memset(slots, 0, capacity * sizeof(Slot));
  Slot* old = slots_;
  uint32_t oldCapacity = capacity_;
  slots_ = slots;
  capacity_ = capacity;
  for (uint32_t i = 0; i < oldCapacity; ++i) {
    if (old[i].hash == 0) continue;
    uint32_t j = old[i].hash & (capacity - 1);
    while (slots[j].hash != 0) j = (j + 1) & (capacity - 1);
    slots[j] = old[i];
  }
  free(old);
  return true;
}

PathSet::Added PathSet::Add(const char* path) {
  wchar_t key[kKeyChars];
  int length = PathKey(path, key, kKeyChars, true);
  if (length < 0) return Added::kNoForm;
  // At most half full, so that a search ends within a few slots.
  if (2 * (count_ + 1) > capacity_ && !Grow()) return Added::kNoMemory;
  uint32_t hash = Hash(key, length);
  Slot* slot = Find(key, length, hash);
  if (slot->hash != 0) return Added::kThere;
  slot->hash = hash;
  slot->path = path;
  ++count_;
  return Added::kAdded;
}

}  // namespace platform
