#pragma once
#include <stdint.h>

#include "payload/PayloadFormat.h"

namespace payload {

// One directory entry as held in memory.
struct PayloadEntry {
  char type[kFieldSize];
  char name[kFieldSize];
  uint32_t size;
  uint32_t crc;
  // Distance of the item's data from the start of the data area; every entry
  // before it counts, whatever its type.
  uint32_t offset;
};

}  // namespace payload
