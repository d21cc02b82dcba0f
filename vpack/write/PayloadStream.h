#pragma once
// Writes a planned payload after the stub, item by item as each is ready:
// the directory's room is kept first and filled in at the end, once every
// size and CRC is known, so no more than the items in flight is ever held.
#include <stdint.h>

#include <functional>

#include "vpack/base/AtomicFile.h"
#include "vpack/plan/PayloadPlan.h"

namespace vpack {

// Called before each file item is written, with its position among all items.
using ItemProgress = std::function<void(size_t index, size_t count, const std::string& name)>;

// Returns the payload's size; throws Error when a source cannot be read or
// the installer would reach 2 GiB.
// storedSizes, where given, receives each item's stored size.
uint64_t WritePayload(AtomicFile& output, uint32_t stubSize, const std::vector<PlannedItem>& items, unsigned jobs,
                      const ItemProgress& progress = nullptr, std::vector<uint32_t>* storedSizes = nullptr);

}  // namespace vpack
