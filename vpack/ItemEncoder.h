#pragma once
// Encodes the file items that need it on every core: each worker reads one
// source whole and compresses it, in the items' order, while the writer
// takes the results in the same order. Finished items wait for the writer
// only up to a budget, so memory stays near the budget plus one item per
// worker, whatever the payload's size. The result does not depend on the
// number of workers: each item is encoded alone.
#include <stdint.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "vpack/PayloadPlan.h"

namespace vpack {

// A file item's stored bytes and their CRC-32.
struct EncodedItem {
  packager::Bytes data;
  uint32_t crc = 0;
};

// Whether the item's bytes differ from its source's.
bool NeedsEncoding(const PlannedItem& item);

// Reads the source and gives it the manifest's store; throws Error.
EncodedItem EncodeFile(const FileSpec& file, class Deflate& deflate);

class ItemEncoder {
 public:
  // Starts the workers on every item NeedsEncoding picks; 0 jobs: one per core.
  ItemEncoder(const std::vector<PlannedItem>& items, unsigned jobs);
  // Stops the workers after their current item.
  ~ItemEncoder();
  ItemEncoder(const ItemEncoder&) = delete;
  ItemEncoder& operator=(const ItemEncoder&) = delete;

  // Waits for item index (which must need encoding, taken in order) and
  // hands it over; rethrows a worker's Error.
  EncodedItem Take(size_t index);

 private:
  struct Result {
    EncodedItem item;
    std::string error;
  };
  void Work();
  bool MayClaim() const;

  const std::vector<PlannedItem>& items_;
  std::vector<size_t> queue_;  // indexes of the items to encode, in order
  size_t claimed_ = 0;         // into queue_
  std::map<size_t, Result> done_;
  uint64_t waitingBytes_ = 0;  // finished, not yet taken
  bool stopping_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::thread> workers_;
};

}  // namespace vpack
