#pragma once
// Which name items of a list the installer visits. A count is read as a
// signed number: 0 or less is an empty list. Under a positive count, the
// entries "<prefix><index>" with index below it are visited in index order,
// whichever of them are there: a missing one is passed over, and a count
// larger than the directory costs no more than the entries present. The
// installer and vpack both read lists by this rule.
#include <stdint.h>

namespace payload {

// The index in name when it is prefix (ASCII case ignored) followed by a
// decimal number as the keys are built (no sign, no leading zero) that
// fits 31 bits; else -1.
int32_t ListEntryIndex(const char* name, const char* prefix);

// The index of an entry the installer visits under count, or -1.
inline int32_t VisitedListIndex(const char* name, const char* prefix, int32_t count) {
  int32_t index = count > 0 ? ListEntryIndex(name, prefix) : -1;
  return index < count ? index : -1;
}

}  // namespace payload
